#include "outside/players/swf_writer.h"

#include <algorithm>
#include <cmath>

namespace players {

void ByteWriter::U8(uint32_t value) {
  bytes_.push_back(static_cast<char>(value & 0xFF));
}

void ByteWriter::U16(uint32_t value) {
  U8(value);
  U8(value >> 8);
}

void ByteWriter::U32(uint32_t value) {
  U16(value);
  U16(value >> 16);
}

void ByteWriter::Fixed8(double value) {
  U16(static_cast<uint32_t>(std::lround(std::clamp(value, 0.0, 255.99) * 256)));
}

void ByteWriter::String(const std::string& text) {
  bytes_ += text;
  bytes_.push_back('\0');
}

void BitWriter::Unsigned(uint32_t value, int bits) {
  for (int bit = bits - 1; bit >= 0; --bit) {
    if (used_bits_ == 0) bytes_.push_back('\0');
    if ((value >> bit) & 1) bytes_.back() = static_cast<char>(bytes_.back() | (0x80 >> used_bits_));
    used_bits_ = (used_bits_ + 1) % 8;
  }
}

void BitWriter::Signed(int32_t value, int bits) {
  const uint32_t mask = bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1;
  Unsigned(static_cast<uint32_t>(value) & mask, bits);
}

std::string BitWriter::Finish() const {
  return bytes_;
}

int SignedBitsFor(int32_t value) {
  int bits = 1;  // the sign bit
  uint32_t magnitude = value < 0 ? ~static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
  while (magnitude) {
    ++bits;
    magnitude >>= 1;
  }
  return bits;
}

std::string EncodeRect(int32_t x_min, int32_t x_max, int32_t y_min, int32_t y_max) {
  const int bits = std::max(
      {SignedBitsFor(x_min), SignedBitsFor(x_max), SignedBitsFor(y_min), SignedBitsFor(y_max)});
  BitWriter writer;
  writer.Unsigned(bits, 5);
  for (int32_t value : {x_min, x_max, y_min, y_max}) writer.Signed(value, bits);
  return writer.Finish();
}

std::string EncodeTranslation(int32_t x, int32_t y) {
  BitWriter writer;
  writer.Unsigned(0, 1);  // no scale
  writer.Unsigned(0, 1);  // no rotation
  const int bits = std::max(SignedBitsFor(x), SignedBitsFor(y));
  writer.Unsigned(bits, 5);
  writer.Signed(x, bits);
  writer.Signed(y, bits);
  return writer.Finish();
}

SwfMovie::SwfMovie(int version, int width_px, int height_px, double frame_rate)
    : version_(version), width_px_(width_px), height_px_(height_px), frame_rate_(frame_rate) {}

std::string SwfMovie::Tag(int code, const std::string& body) {
  ByteWriter writer;
  if (body.size() < 63) {
    writer.U16(static_cast<uint32_t>(code << 6) | static_cast<uint32_t>(body.size()));
  } else {
    writer.U16(static_cast<uint32_t>(code << 6) | 0x3F);
    writer.U32(static_cast<uint32_t>(body.size()));
  }
  writer.Bytes(body);
  return writer.bytes();
}

void SwfMovie::FileAttributes(bool use_network) {
  ByteWriter body;
  body.U32(use_network ? 0x01 : 0x00);
  tags_ += Tag(kTagFileAttributes, body.bytes());
}

void SwfMovie::SetBackgroundColor(RgbColor color) {
  ByteWriter body;
  body.U8(color.red);
  body.U8(color.green);
  body.U8(color.blue);
  tags_ += Tag(kTagSetBackgroundColor, body.bytes());
}

void SwfMovie::DefineVideoStream(uint16_t id, uint16_t width_px, uint16_t height_px,
                                 bool smoothing) {
  ByteWriter body;
  body.U16(id);
  body.U16(0);  // frames: the video comes from a stream, not from the timeline
  body.U16(width_px);
  body.U16(height_px);
  body.U8(smoothing ? 0x01 : 0x00);
  body.U8(0);  // codec: none of its own
  tags_ += Tag(kTagDefineVideoStream, body.bytes());
}

void SwfMovie::PlaceObject2(uint16_t depth, uint16_t character, const std::string& name) {
  constexpr uint32_t kHasCharacter = 0x02, kHasMatrix = 0x04, kHasName = 0x20;
  ByteWriter body;
  body.U8(kHasCharacter | kHasMatrix | kHasName);
  body.U16(depth);
  body.U16(character);
  body.Bytes(EncodeTranslation(0, 0));
  body.String(name);
  tags_ += Tag(kTagPlaceObject2, body.bytes());
}

void SwfMovie::DoAction(const std::string& actions) {
  tags_ += Tag(kTagDoAction, actions);
}

void SwfMovie::ShowFrame() {
  tags_ += Tag(kTagShowFrame, "");
  ++frame_count_;
}

std::string SwfMovie::Finish() {
  ByteWriter rest;
  rest.Bytes(EncodeRect(0, width_px_ * kTwipsPerPixel, 0, height_px_ * kTwipsPerPixel));
  rest.Fixed8(frame_rate_);
  rest.U16(frame_count_);
  rest.Bytes(tags_);
  rest.Bytes(Tag(kTagEnd, ""));
  ByteWriter file;
  file.Bytes("FWS");
  file.U8(static_cast<uint32_t>(version_));
  file.U32(static_cast<uint32_t>(8 + rest.bytes().size()));
  file.Bytes(rest.bytes());
  return file.bytes();
}

}  // namespace players
