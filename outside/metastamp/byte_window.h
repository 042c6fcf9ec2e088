// Small reads served from a window of a ByteSource, so that walking thousands of small tags costs
// a few large reads instead of a system call per tag, while large tag bodies are skipped unread.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "outside/metastamp/byte_source.h"

namespace metastamp {

class ByteWindow {
 public:
  ByteWindow(ByteSource& source, size_t window_size);

  uint64_t Size() const { return size_; }
  // The bytes [offset, offset + length), fewer where the source ends. Valid until the next call.
  std::span<const uint8_t> Peek(uint64_t offset, size_t length);

 private:
  ByteSource& source_;
  uint64_t size_;
  size_t window_size_;
  std::vector<uint8_t> buffer_;
  uint64_t start_ = 0;  // source offset of buffer_[0]
  size_t filled_ = 0;
};

}  // namespace metastamp
