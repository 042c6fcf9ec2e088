// What passes between the two threads of an encoding: decoded frames from the reading thread to
// the video encoder's thread, and sound packets for whichever of the two is free.
//
// The video encoder cannot be split, so its thread sets the pace whenever the encoding is the
// slowest part; the reading thread then decodes ahead and codes the sound while it waits for
// room. When decoding is the slowest part (a large source made small), the encoder's thread
// codes the sound while it waits for frames. Either way both cores stay busy with two threads,
// not four that take turns on them. The sound is coded one packet at a time, in the order read,
// so its packets are those a single thread would make.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>

#include "outside/vidforge/av_owners.h"

namespace vidforge {

class WorkBoard {
 public:
  using SoundCoder = std::function<void(const AVPacket* packet)>;

  // `frames`: how many decoded frames may wait for the encoder. `sound_packets`: how many
  // packets may wait to be coded before the reading thread codes them itself; it keeps the
  // sound close behind the video, which the muxer needs to interleave them.
  WorkBoard(size_t frames, size_t sound_packets, SoundCoder code_sound);

  // Reading thread. Each returns false once the board is stopped (another thread failed).
  // Waits for room, coding the sound meanwhile.
  bool PushFrame(FramePtr frame);
  // Queues a packet for the sound; codes some itself when too many wait.
  bool PushSound(PacketPtr packet);
  // No more frames will come.
  void CloseFrames();
  // Codes the sound left waiting, with the encoder's thread helping.
  bool FinishSound();

  // Encoder's thread: the next frame, coding the sound while none is there; nothing once the
  // frames are closed and all taken, or the board is stopped.
  std::optional<FramePtr> PopFrame();

  // Abandons the run: every waiting call returns at once, and what waits is dropped.
  void Stop();
  bool stopped() const;

 private:
  bool SoundReady() const { return !sound_.empty() && !sound_busy_; }
  // Codes the first waiting sound packet with the lock released; `lock` is held on entry and on
  // return.
  void CodeOneSoundPacket(std::unique_lock<std::mutex>& lock);
  // Codes waiting sound packets, or else waits, for as long as `waiting` holds and the board
  // runs; `lock` is held on entry and on return.
  void CodeSoundWhile(std::unique_lock<std::mutex>& lock, const std::function<bool()>& waiting);

  const size_t frame_capacity_;
  const size_t sound_capacity_;
  const SoundCoder code_sound_;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<FramePtr> frames_;
  std::deque<PacketPtr> sound_;
  bool sound_busy_ = false;  // a thread is coding a sound packet
  bool frames_closed_ = false;
  bool stopped_ = false;
};

}  // namespace vidforge
