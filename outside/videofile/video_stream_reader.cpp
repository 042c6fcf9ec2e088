#include "outside/videofile/video_stream_reader.h"

#include <algorithm>
#include <cmath>

extern "C" {
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
}

#include "outside/videofile/picture_layout.h"

namespace videofile {

VideoStreamReader::VideoStreamReader(PacketSource& packets, AVStream* stream, AVRational frame_rate,
                                     double origin_seconds)
    : decoder_(packets, stream), frame_rate_(frame_rate), origin_seconds_(origin_seconds) {}

Status VideoStreamReader::Open(const AVCodec* codec) {
  decoded_.reset(av_frame_alloc());
  scaled_.reset(av_frame_alloc());
  if (!decoded_ || !scaled_) return Status::kOutOfMemory;
  if (const Status opened = decoder_.Open(codec); opened != Status::kOk) return opened;

  const Status decoded = DecodePicture(ahead_);
  if (decoded != Status::kOk) return decoded;
  return ahead_ ? Status::kOk : Status::kFail;
}

void VideoStreamReader::PlaceInSlots(const AVFrame* frame, Picture& picture) {
  const AVRational time_base = decoder_.stream()->time_base;
  const double rate = av_q2d(frame_rate_);
  const std::int64_t previous_slot = ahead_ ? ahead_->slot : held_ ? held_->slot : -1;
  if (frame->best_effort_timestamp == AV_NOPTS_VALUE) {
    picture.slot = previous_slot + 1;
  } else {
    const double seconds = frame->best_effort_timestamp * av_q2d(time_base) - origin_seconds_;
    picture.slot = std::llround(seconds * rate);
  }
  const std::int64_t duration_slots =
      frame->pkt_duration > 0 ? std::llround(frame->pkt_duration * av_q2d(time_base) * rate) : 1;
  picture.end_slot = picture.slot + std::max<std::int64_t>(duration_slots, 1);
}

Status VideoStreamReader::DecodePicture(std::optional<Picture>& picture) {
  picture.reset();
  for (;;) {
    bool got_frame = false;
    if (const Status next = decoder_.Next(decoded_.get(), got_frame); next != Status::kOk) {
      return next;
    }
    if (!got_frame) return Status::kOk;
    if (decoded_->width <= 0 || decoded_->height <= 0 || decoded_->format < 0) {
      av_frame_unref(decoded_.get());
      continue;
    }
    if (width_ == 0) {
      width_ = decoded_->width;
      height_ = decoded_->height;
    }
    Picture converted;
    PlaceInSlots(decoded_.get(), converted);
    const Status status = ToI420(decoded_.get(), converted.pixels);
    av_frame_unref(decoded_.get());
    if (status != Status::kOk) return status;
    picture = std::move(converted);
    return Status::kOk;
  }
}

// A stream may change its size or format midway; its frames keep the first frame's size. The
// conversion (bicubic, often from RGB) is the costliest part of reading: it runs in slices on
// every core, which gives the very same pixels as one slice.
Status VideoStreamReader::PrepareScaler(const AVFrame* frame) {
  if (scaler_ && frame->width == scaler_source_.width && frame->height == scaler_source_.height &&
      frame->format == scaler_source_.format) {
    return Status::kOk;
  }
  scaler_.reset(sws_alloc_context());
  if (!scaler_) return Status::kOutOfMemory;
  SwsContext* scaler = scaler_.get();
  const bool set = av_opt_set_int(scaler, "srcw", frame->width, 0) >= 0 &&
                   av_opt_set_int(scaler, "srch", frame->height, 0) >= 0 &&
                   av_opt_set_int(scaler, "src_format", frame->format, 0) >= 0 &&
                   av_opt_set_int(scaler, "dstw", width_, 0) >= 0 &&
                   av_opt_set_int(scaler, "dsth", height_, 0) >= 0 &&
                   av_opt_set_int(scaler, "dst_format", AV_PIX_FMT_YUV420P, 0) >= 0 &&
                   av_opt_set_int(scaler, "sws_flags", SWS_BICUBIC, 0) >= 0 &&
                   av_opt_set_int(scaler, "threads", 0, 0) >= 0;  // 0: one per core
  if (!set || sws_init_context(scaler, nullptr, nullptr) < 0) {
    scaler_.reset();
    return Status::kFail;
  }
  scaler_source_ = {frame->width, frame->height, frame->format};
  return Status::kOk;
}

Status VideoStreamReader::ToI420(const AVFrame* frame, std::vector<std::uint8_t>& pixels) {
  const AVFrame* source = frame;
  if (frame->format != AV_PIX_FMT_YUV420P || frame->width != width_ || frame->height != height_) {
    if (const Status prepared = PrepareScaler(frame); prepared != Status::kOk) return prepared;
    if (scaled_->width != width_ || scaled_->height != height_) {
      av_frame_unref(scaled_.get());
      scaled_->format = AV_PIX_FMT_YUV420P;
      scaled_->width = width_;
      scaled_->height = height_;
      if (av_frame_get_buffer(scaled_.get(), 0) < 0) return Status::kOutOfMemory;
    }
    if (sws_scale_frame(scaler_.get(), scaled_.get(), frame) < 0) return Status::kFail;
    source = scaled_.get();
  }
  pixels.resize(I420Size(width_, height_));
  if (av_image_copy_to_buffer(pixels.data(), static_cast<int>(pixels.size()), source->data,
                              source->linesize, AV_PIX_FMT_YUV420P, width_, height_, 1) < 0) {
    return Status::kFail;
  }
  return Status::kOk;
}

Status VideoStreamReader::Read(std::vector<std::uint8_t>& frame) {
  for (;;) {
    if (!ahead_ && !decoder_ended_) {
      if (const Status decoded = DecodePicture(ahead_); decoded != Status::kOk) return decoded;
      decoder_ended_ = !ahead_;
    }
    // A video that starts late shows its first picture from slot 0.
    if (ahead_ && (!held_ || ahead_->slot <= next_slot_)) {
      held_ = std::move(ahead_);
      ahead_.reset();
      continue;
    }
    break;
  }
  if (!held_ || (!ahead_ && next_slot_ >= held_->end_slot)) {
    frame.clear();
    return Status::kOk;
  }
  frame = held_->pixels;
  ++next_slot_;
  return Status::kOk;
}

}  // namespace videofile
