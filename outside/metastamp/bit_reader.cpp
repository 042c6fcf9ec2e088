#include "outside/metastamp/bit_reader.h"

namespace metastamp {

uint32_t BitReader::Bits(int count) {
  uint32_t value = 0;
  for (int i = 0; i < count; ++i) {
    if (position_ >= bytes_.size() * 8) {
      overrun_ = true;
      return 0;
    }
    const uint8_t byte = bytes_[position_ / 8];
    value = (value << 1) | ((byte >> (7 - position_ % 8)) & 1u);
    ++position_;
  }
  return value;
}

void BitReader::Skip(size_t count) {
  if (count > bytes_.size() * 8 - position_) {
    overrun_ = true;
    position_ = bytes_.size() * 8;
    return;
  }
  position_ += count;
}

uint32_t BitReader::Golomb() {
  int leading_zeros = 0;
  while (!Bit()) {
    if (!ok() || ++leading_zeros > 31) {
      overrun_ = true;  // no value of a valid stream needs more than 32 bits
      return 0;
    }
  }
  const uint64_t value = (uint64_t{1} << leading_zeros) - 1 + Bits(leading_zeros);
  return static_cast<uint32_t>(value);
}

int32_t BitReader::SignedGolomb() {
  const uint32_t code = Golomb();
  const auto magnitude = static_cast<int32_t>((uint64_t{code} + 1) / 2);
  return (code & 1) ? magnitude : -magnitude;
}

}  // namespace metastamp
