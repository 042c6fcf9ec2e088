#include "outside/metastamp/byte_window.h"

#include <algorithm>

namespace metastamp {

ByteWindow::ByteWindow(ByteSource& source, size_t window_size)
    : source_(source), size_(source.Size()), window_size_(window_size) {}

std::span<const uint8_t> ByteWindow::Peek(uint64_t offset, size_t length) {
  if (offset >= size_) return {};
  length = static_cast<size_t>(std::min<uint64_t>(length, size_ - offset));
  const bool inside = offset >= start_ && offset + length <= start_ + filled_;
  if (!inside) {
    const size_t wanted = std::max(length, window_size_);
    if (buffer_.size() < wanted) buffer_.resize(wanted);
    start_ = offset;
    filled_ = source_.ReadAt(offset, std::span(buffer_.data(), wanted));
    length = std::min(length, filled_);
  }
  return std::span<const uint8_t>(buffer_.data() + (offset - start_), length);
}

}  // namespace metastamp
