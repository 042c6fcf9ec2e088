// A small queue between two threads of the pipeline: the producer waits while it is full, the
// consumer while it is empty, so that the slowest stage sets the pace and memory stays bounded.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>
#include <utility>

namespace vidforge {

template <typename T>
class BoundedQueue {
 public:
  explicit BoundedQueue(size_t capacity) : capacity_(capacity) {}

  // Waits for room; false, with `item` dropped, once the queue is stopped.
  bool Push(T item) {
    std::unique_lock lock(mutex_);
    not_full_.wait(lock, [&] { return stopped_ || items_.size() < capacity_; });
    if (stopped_) return false;
    items_.push_back(std::move(item));
    not_empty_.notify_one();
    return true;
  }

  // The next item; nothing once the queue is closed and empty, or stopped.
  std::optional<T> Pop() {
    std::unique_lock lock(mutex_);
    not_empty_.wait(lock, [&] { return stopped_ || closed_ || !items_.empty(); });
    if (stopped_ || items_.empty()) return std::nullopt;
    T item = std::move(items_.front());
    items_.pop_front();
    not_full_.notify_one();
    return item;
  }

  // No more items will come: the consumer gets those queued, then the end.
  void Close() {
    std::lock_guard lock(mutex_);
    closed_ = true;
    not_empty_.notify_all();
  }

  // The run is abandoned: both sides return at once, and what is queued is dropped.
  void Stop() {
    std::lock_guard lock(mutex_);
    stopped_ = true;
    items_.clear();
    not_empty_.notify_all();
    not_full_.notify_all();
  }

  bool stopped() const {
    std::lock_guard lock(mutex_);
    return stopped_;
  }

 private:
  const size_t capacity_;
  mutable std::mutex mutex_;
  std::condition_variable not_full_;
  std::condition_variable not_empty_;
  std::deque<T> items_;
  bool closed_ = false;
  bool stopped_ = false;
};

}  // namespace vidforge
