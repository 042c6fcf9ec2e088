// Hand-made FLV content for the metastamp tests: bit strings for picture headers, and whole
// files tag by tag.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace metastamp_test {

using Bytes = std::vector<uint8_t>;

// Writes bits most significant first, and Exp-Golomb codes, as video headers hold them.
class BitWriter {
 public:
  BitWriter& Bits(uint32_t value, int count);
  BitWriter& Golomb(uint32_t value);
  BitWriter& SignedGolomb(int32_t value);
  Bytes Take();  // pads the last byte with zeros

 private:
  Bytes bytes_;
  int used_ = 8;  // bits used in the last byte
};

// An FLV built tag by tag.
class FlvBuilder {
 public:
  explicit FlvBuilder(uint32_t header_size = 9);
  FlvBuilder& Tag(uint8_t type, uint32_t timestamp, const Bytes& body);
  FlvBuilder& Video(uint32_t timestamp, uint8_t frame_type, const Bytes& payload);
  FlvBuilder& Audio(uint32_t timestamp, const Bytes& payload = {0x00});
  FlvBuilder& Metadata(uint32_t timestamp, double width, double height);
  FlvBuilder& Script(std::string_view name);
  Bytes bytes() const { return bytes_; }

 private:
  Bytes bytes_;
};

// A Sorenson H.263 picture of the given size (custom 16-bit size code), enough for the header.
Bytes H263Picture(uint32_t width, uint32_t height);

}  // namespace metastamp_test
