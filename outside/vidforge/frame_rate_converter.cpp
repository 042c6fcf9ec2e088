#include "outside/vidforge/frame_rate_converter.h"

#include <climits>
#include <utility>

extern "C" {
#include <libavutil/mathematics.h>
}

namespace vidforge {
namespace {

constexpr int kRounding = AV_ROUND_NEAR_INF | AV_ROUND_PASS_MINMAX;

// The rate as FFmpeg's filter reads it: the fraction evaluated as a number and turned back
// into a fraction, so the output clock ticks exactly as the command line's does.
AVRational OutputTimeBase(AVRational rate) {
  return av_inv_q(av_d2q(static_cast<double>(rate.num) / rate.den, INT_MAX));
}

}  // namespace

FrameRateConverter::FrameRateConverter(AVRational input_time_base, AVRational rate)
    : input_time_base_(input_time_base), time_base_(OutputTimeBase(rate)) {}

int64_t FrameRateConverter::ToOutput(int64_t input_pts) const {
  return av_rescale_q_rnd(input_pts, input_time_base_, time_base_,
                          static_cast<AVRounding>(kRounding));
}

void FrameRateConverter::Push(AVFrame* frame, const FrameTaker& emit) {
  if (finished_) return;
  AVFrame* held = held_[held_count_++].get();
  av_frame_move_ref(held, frame);
  held->pts = ToOutput(held->pts);
  while (held_count_ == 2) Step(emit);
}

void FrameRateConverter::Finish(int64_t end_pts, const FrameTaker& emit) {
  if (finished_) return;
  finished_ = true;
  end_pts_ = ToOutput(end_pts);
  while (held_count_ > 0) Step(emit);
}

void FrameRateConverter::Step(const FrameTaker& emit) {
  if (next_pts_ == AV_NOPTS_VALUE) {
    if (held_[0]->pts == AV_NOPTS_VALUE) {
      // Nothing to place it by: frames before the first stamped one are left out.
      DropFirst();
      return;
    }
    next_pts_ = held_[0]->pts;
  }
  if ((held_count_ == 2 && held_[1]->pts <= next_pts_) || (finished_ && end_pts_ <= next_pts_)) {
    DropFirst();
    return;
  }
  Check(av_frame_ref(out_.get(), held_[0].get()), "cannot convert the frame rate");
  // Closed captions belong to one showing only; a repeated frame must not repeat them.
  av_frame_remove_side_data(held_[0].get(), AV_FRAME_DATA_A53_CC);
  out_->pts = next_pts_++;
  emit(out_.get());
  av_frame_unref(out_.get());
}

void FrameRateConverter::DropFirst() {
  av_frame_unref(held_[0].get());
  std::swap(held_[0], held_[1]);
  --held_count_;
}

}  // namespace vidforge
