// Reads a byte string bit by bit, most significant bit first, as video and audio headers are
// written. Reading past the end gives zeros and marks the reader, so a parser checks ok() once
// at the end instead of after every field.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace metastamp {

class BitReader {
 public:
  explicit BitReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  uint32_t Bits(int count);  // 0 to 32 bits
  bool Bit() { return Bits(1) != 0; }
  void Skip(size_t count);
  uint32_t Golomb();       // unsigned Exp-Golomb, ue(v)
  int32_t SignedGolomb();  // signed Exp-Golomb, se(v)

  bool ok() const { return !overrun_; }

 private:
  std::span<const uint8_t> bytes_;
  size_t position_ = 0;  // in bits
  bool overrun_ = false;
};

}  // namespace metastamp
