#include "outside/metastamp/byte_window.h"

#include <algorithm>

namespace metastamp {

namespace {
// A read costs about a microsecond plus the copying of its bytes (some 3 GB/s): past a few
// kilobytes between requests, reading what lies between costs more than a read of its own.
constexpr uint64_t kSparseGap = 4096;
constexpr size_t kSparseReadSize = 1024;
// Requests this close follow one another within a tag (its header, then its first bytes).
constexpr uint64_t kSameTagGap = 64;
}  // namespace

ByteWindow::ByteWindow(ByteSource& source, size_t window_size)
    : source_(source), size_(source.Size()), window_size_(window_size) {}

std::span<const uint8_t> ByteWindow::Peek(uint64_t offset, size_t length) {
  if (offset >= size_) return {};
  length = static_cast<size_t>(std::min<uint64_t>(length, size_ - offset));
  const uint64_t gap = offset > last_offset_ ? offset - last_offset_ : last_offset_ - offset;
  if (gap >= kSameTagGap) mean_gap_ = (mean_gap_ * 7 + gap) / 8;
  last_offset_ = offset;
  const bool inside = offset >= start_ && offset + length <= start_ + filled_;
  if (!inside) {
    const size_t read_size = mean_gap_ > kSparseGap ? kSparseReadSize : window_size_;
    const size_t wanted = std::max(length, read_size);
    if (buffer_.size() < wanted) buffer_.resize(wanted);
    start_ = offset;
    filled_ = source_.ReadAt(offset, std::span(buffer_.data(), wanted));
    length = std::min(length, filled_);
  }
  return std::span<const uint8_t>(buffer_.data() + (offset - start_), length);
}

}  // namespace metastamp
