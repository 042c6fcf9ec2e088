// Brings frames with any timing to a constant frame rate: each output tick shows the latest frame
// that has started by then, so frames are repeated to fill gaps and dropped when several fall on
// one tick. The choices are those of FFmpeg's `fps` filter with its defaults (time stamps rounded
// to the nearest tick, the first frame's time as the start, the last frame shown until the end
// time given to `Finish`), so that the video comes out as the ffmpeg command line makes it.
#pragma once

#include <cstdint>
#include <functional>

#include "outside/vidforge/av_owners.h"

namespace vidforge {

class FrameRateConverter {
 public:
  // `emit` gets each output frame, stamped in `time_base()`; it may move the frame's content out.
  using FrameTaker = std::function<void(AVFrame* frame)>;

  // Frames come stamped in `input_time_base` and leave at `rate`.
  FrameRateConverter(AVRational input_time_base, AVRational rate);

  AVRational time_base() const { return time_base_; }

  // Takes `frame` (its content is moved in) and emits the output ticks that are now decided.
  void Push(AVFrame* frame, const FrameTaker& emit);
  // The input ends at `end_pts` (input time base): emits the remaining ticks before it.
  void Finish(int64_t end_pts, const FrameTaker& emit);

 private:
  int64_t ToOutput(int64_t input_pts) const;
  // Emits `held_[0]` on the next tick, or drops it when a later frame (or the end) takes that tick.
  void Step(const FrameTaker& emit);
  void DropFirst();

  AVRational input_time_base_;
  AVRational time_base_;
  // At most two frames wait: the one on show and the one that will replace it.
  FramePtr held_[2] = {MakeFrame(), MakeFrame()};
  int held_count_ = 0;
  int64_t next_pts_ = AV_NOPTS_VALUE;
  bool finished_ = false;
  int64_t end_pts_ = 0;
  FramePtr out_ = MakeFrame();
};

}  // namespace vidforge
