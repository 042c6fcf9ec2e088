#include "outside/videofile/video_read_ahead.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace videofile {
namespace {
// A few frames: enough to ride out a frame that is slow to decode or to write, little memory.
constexpr std::size_t kFramesAhead = 3;
}  // namespace

VideoReadAhead::VideoReadAhead(VideoStreamReader& video)
    : video_(video), thread_([this] { Decode(); }) {}

VideoReadAhead::~VideoReadAhead() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

void VideoReadAhead::Decode() {
  for (;;) {
    Result result;
    try {
      result.status = video_.Read(result.frame);
    } catch (const std::bad_alloc&) {
      result.status = Status::kOutOfMemory;
    } catch (...) {
      result.status = Status::kFail;
    }
    const bool last = result.status != Status::kOk || result.frame.empty();
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return stopping_ || results_.size() < kFramesAhead; });
    if (stopping_) return;
    results_.push_back(std::move(result));
    decoder_done_ = last;
    changed_.notify_all();
    if (last) return;
  }
}

Status VideoReadAhead::Read(std::vector<std::uint8_t>& frame) {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return !results_.empty() || decoder_done_; });
  if (results_.empty()) {
    frame = last_.frame;
    return last_.status;
  }
  Result result = std::move(results_.front());
  results_.pop_front();
  changed_.notify_all();
  lock.unlock();
  if (result.status != Status::kOk || result.frame.empty()) {
    last_ = result;
  } else {
    ++frames_read_;
  }
  frame = std::move(result.frame);
  return result.status;
}

bool VideoReadAhead::Wanted() {
  const char* value = std::getenv("VIDEOFILE_READ_AHEAD");
  return !(value && std::strcmp(value, "0") == 0);
}

}  // namespace videofile
