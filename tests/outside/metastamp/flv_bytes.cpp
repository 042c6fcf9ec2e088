#include "flv_bytes.h"

#include "outside/metastamp/amf0.h"

namespace metastamp_test {

BitWriter& BitWriter::Bits(uint32_t value, int count) {
  for (int i = count - 1; i >= 0; --i) {
    if (used_ == 8) {
      bytes_.push_back(0);
      used_ = 0;
    }
    bytes_.back() |= ((value >> i) & 1u) << (7 - used_);
    ++used_;
  }
  return *this;
}

BitWriter& BitWriter::Golomb(uint32_t value) {
  const uint64_t code = uint64_t{value} + 1;
  int length = 0;
  while ((code >> length) > 1) ++length;
  Bits(0, length);
  return Bits(static_cast<uint32_t>(code), length + 1);
}

BitWriter& BitWriter::SignedGolomb(int32_t value) {
  return Golomb(value > 0 ? 2 * static_cast<uint32_t>(value) - 1
                          : 2 * static_cast<uint32_t>(-value));
}

Bytes BitWriter::Take() {
  return std::move(bytes_);
}

FlvBuilder::FlvBuilder(uint32_t header_size) {
  bytes_ = {'F', 'L', 'V', 1, 0x05, 0, 0, 0, static_cast<uint8_t>(header_size)};
  bytes_.resize(header_size + 4, 0);  // any extra header bytes, then the first size field
}

FlvBuilder& FlvBuilder::Tag(uint8_t type, uint32_t timestamp, const Bytes& body) {
  const auto size = static_cast<uint32_t>(body.size());
  const Bytes head = {type,
                      static_cast<uint8_t>(size >> 16),
                      static_cast<uint8_t>(size >> 8),
                      static_cast<uint8_t>(size),
                      static_cast<uint8_t>(timestamp >> 16),
                      static_cast<uint8_t>(timestamp >> 8),
                      static_cast<uint8_t>(timestamp),
                      static_cast<uint8_t>(timestamp >> 24),
                      0,
                      0,
                      0};
  bytes_.insert(bytes_.end(), head.begin(), head.end());
  bytes_.insert(bytes_.end(), body.begin(), body.end());
  const uint32_t tag_size = 11 + size;
  for (int shift = 24; shift >= 0; shift -= 8) bytes_.push_back(uint8_t(tag_size >> shift));
  return *this;
}

FlvBuilder& FlvBuilder::Video(uint32_t timestamp, uint8_t frame_type, const Bytes& payload) {
  Bytes body = {static_cast<uint8_t>(frame_type << 4 | 2)};  // Sorenson H.263
  body.insert(body.end(), payload.begin(), payload.end());
  return Tag(9, timestamp, body);
}

FlvBuilder& FlvBuilder::Audio(uint32_t timestamp, const Bytes& payload) {
  Bytes body = {0x2E};  // MP3, 44 kHz, 16 bits, mono
  body.insert(body.end(), payload.begin(), payload.end());
  return Tag(8, timestamp, body);
}

FlvBuilder& FlvBuilder::Metadata(uint32_t timestamp, double width, double height) {
  metastamp::Amf0Writer amf;
  amf.String("onMetaData");
  amf.BeginEcmaArray(2);
  amf.Key("width");
  amf.Number(width);
  amf.Key("height");
  amf.Number(height);
  amf.EndProperties();
  return Tag(18, timestamp, amf.bytes());
}

FlvBuilder& FlvBuilder::Script(std::string_view name) {
  metastamp::Amf0Writer amf;
  amf.String(name);
  amf.BeginObject();
  amf.EndProperties();
  return Tag(18, 0, amf.bytes());
}

Bytes H263Picture(uint32_t width, uint32_t height) {
  return BitWriter()
      .Bits(1, 17)
      .Bits(0, 5)
      .Bits(0, 8)
      .Bits(1, 3)
      .Bits(width, 16)
      .Bits(height, 16)
      .Bits(0, 16)
      .Take();
}

}  // namespace metastamp_test
