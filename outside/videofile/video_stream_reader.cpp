#include "outside/videofile/video_stream_reader.h"

#include <algorithm>
#include <cmath>

extern "C" {
#include <libavutil/imgutils.h>
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

Status VideoStreamReader::ToI420(const AVFrame* frame, std::vector<std::uint8_t>& pixels) {
  const AVFrame* source = frame;
  if (frame->format != AV_PIX_FMT_YUV420P || frame->width != width_ || frame->height != height_) {
    // A stream may change its size or format midway; its frames keep the first frame's size.
    scaler_.reset(sws_getCachedContext(scaler_.release(), frame->width, frame->height,
                                       static_cast<AVPixelFormat>(frame->format), width_, height_,
                                       AV_PIX_FMT_YUV420P, SWS_BICUBIC, nullptr, nullptr, nullptr));
    if (!scaler_) return Status::kFail;
    if (scaled_->width != width_ || scaled_->height != height_) {
      av_frame_unref(scaled_.get());
      scaled_->format = AV_PIX_FMT_YUV420P;
      scaled_->width = width_;
      scaled_->height = height_;
      if (av_frame_get_buffer(scaled_.get(), 0) < 0) return Status::kOutOfMemory;
    }
    if (sws_scale(scaler_.get(), frame->data, frame->linesize, 0, frame->height, scaled_->data,
                  scaled_->linesize) != height_) {
      return Status::kFail;
    }
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
