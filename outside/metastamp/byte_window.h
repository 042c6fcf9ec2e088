// Small reads served from a window of a ByteSource. Where requests lie close together (the
// headers of small tags) one large read serves many of them; where they lie far apart (large
// video tags), each gets a small read of its own and the bodies in between are skipped unread.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "outside/metastamp/byte_source.h"

namespace metastamp {

class ByteWindow {
 public:
  // `window_size`: how much one read fetches while requests lie close together.
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
  uint64_t last_offset_ = 0;
  uint64_t mean_gap_ = 0;  // between consecutive requests, a running average
};

}  // namespace metastamp
