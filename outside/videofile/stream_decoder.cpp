#include "outside/videofile/stream_decoder.h"

namespace videofile {
namespace {

// Enough to ride out a damaged stretch of a real file; a stream of garbage fails soon.
constexpr int kMaxFailuresInARow = 100;

}  // namespace

StreamDecoder::StreamDecoder(PacketSource& packets, AVStream* stream)
    : packets_(packets), stream_(stream) {}

Status StreamDecoder::Open(const AVCodec* codec) {
  context_.reset(avcodec_alloc_context3(codec));
  if (!context_) return Status::kOutOfMemory;
  if (avcodec_parameters_to_context(context_.get(), stream_->codecpar) < 0) return Status::kFail;
  context_->pkt_timebase = stream_->time_base;
  context_->thread_count = 0;  // as many as the machine has
  if (avcodec_open2(context_.get(), codec, nullptr) < 0) return Status::kFail;
  return Status::kOk;
}

Status StreamDecoder::CountFailure() {
  return ++failures_in_a_row_ > kMaxFailuresInARow ? Status::kFail : Status::kOk;
}

Status StreamDecoder::Next(AVFrame* frame, bool& got_frame) {
  got_frame = false;
  for (;;) {
    const int received = avcodec_receive_frame(context_.get(), frame);
    if (received == 0) {
      failures_in_a_row_ = 0;
      got_frame = true;
      return Status::kOk;
    }
    if (received == AVERROR_EOF || (received == AVERROR(EAGAIN) && draining_)) {
      return Status::kOk;
    }
    if (received != AVERROR(EAGAIN)) {
      if (CountFailure() != Status::kOk) return Status::kFail;
      continue;
    }

    PacketPtr packet;
    if (const Status read = packets_.Next(stream_->index, packet); read != Status::kOk) {
      return read;
    }
    if (!packet) {
      draining_ = true;
      avcodec_send_packet(context_.get(), nullptr);
      continue;
    }
    // An empty packet would start draining; in AVI it only repeats the previous frame.
    if (packet->size == 0) continue;
    if (avcodec_send_packet(context_.get(), packet.get()) < 0 && CountFailure() != Status::kOk) {
      return Status::kFail;
    }
  }
}

}  // namespace videofile
