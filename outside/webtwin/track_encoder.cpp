#include "outside/webtwin/track_encoder.h"

namespace webtwin {

TrackEncoder::TrackEncoder(vidforge::CodecContextPtr opened, Mp4File& output, std::string kind)
    : context_(std::move(opened)),
      output_(output),
      stream_index_(output.AddStream(context_.get())),
      kind_(std::move(kind)) {}

void TrackEncoder::Encode(AVFrame* frame, int64_t video_frame_ticks) {
  vidforge::Check(avcodec_send_frame(context_.get(), frame), "cannot encode the " + kind_);
  while (true) {
    const int result = avcodec_receive_packet(context_.get(), packet_.get());
    if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) return;
    vidforge::Check(result, "cannot encode the " + kind_);
    if (packet_->duration == 0 && video_frame_ticks > 0) packet_->duration = video_frame_ticks;
    output_.WritePacket(packet_.get(), context_->time_base, stream_index_);
  }
}

}  // namespace webtwin
