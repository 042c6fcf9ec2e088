#include "outside/vidforge/work_board.h"

namespace vidforge {

WorkBoard::WorkBoard(size_t frames, size_t sound_packets, SoundCoder code_sound)
    : frame_capacity_(frames), sound_capacity_(sound_packets), code_sound_(std::move(code_sound)) {}

void WorkBoard::CodeOneSoundPacket(std::unique_lock<std::mutex>& lock) {
  PacketPtr packet = std::move(sound_.front());
  sound_.pop_front();
  sound_busy_ = true;
  lock.unlock();
  // Should the coding throw, the caller's failure handling stops the board: nobody waits for
  // `sound_busy_` to clear after that.
  code_sound_(packet.get());
  lock.lock();
  sound_busy_ = false;
  changed_.notify_all();
}

void WorkBoard::CodeSoundWhile(std::unique_lock<std::mutex>& lock,
                               const std::function<bool()>& waiting) {
  while (!stopped_ && waiting()) {
    if (SoundReady())
      CodeOneSoundPacket(lock);
    else
      changed_.wait(lock);
  }
}

bool WorkBoard::PushFrame(FramePtr frame) {
  std::unique_lock lock(mutex_);
  CodeSoundWhile(lock, [this] { return frames_.size() >= frame_capacity_; });
  if (stopped_) return false;
  frames_.push_back(std::move(frame));
  changed_.notify_all();
  return true;
}

bool WorkBoard::PushSound(PacketPtr packet) {
  std::unique_lock lock(mutex_);
  if (stopped_) return false;
  sound_.push_back(std::move(packet));
  changed_.notify_all();
  CodeSoundWhile(lock, [this] { return sound_.size() > sound_capacity_; });
  return !stopped_;
}

void WorkBoard::CloseFrames() {
  std::lock_guard lock(mutex_);
  frames_closed_ = true;
  changed_.notify_all();
}

bool WorkBoard::FinishSound() {
  std::unique_lock lock(mutex_);
  CodeSoundWhile(lock, [this] { return !sound_.empty() || sound_busy_; });
  return !stopped_;
}

std::optional<FramePtr> WorkBoard::PopFrame() {
  std::unique_lock lock(mutex_);
  CodeSoundWhile(lock, [this] { return frames_.empty() && !frames_closed_; });
  if (stopped_ || frames_.empty()) return std::nullopt;
  FramePtr frame = std::move(frames_.front());
  frames_.pop_front();
  changed_.notify_all();
  return frame;
}

void WorkBoard::Stop() {
  std::lock_guard lock(mutex_);
  stopped_ = true;
  frames_.clear();
  sound_.clear();
  changed_.notify_all();
}

bool WorkBoard::stopped() const {
  std::lock_guard lock(mutex_);
  return stopped_;
}

}  // namespace vidforge
