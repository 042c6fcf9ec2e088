#include "outside/vidforge/frame_encoder.h"

namespace vidforge {

FrameEncoder::FrameEncoder(CodecContextPtr opened, OutputFile& output, AVRational frame_rate,
                           std::string kind)
    : context_(std::move(opened)),
      output_(output),
      stream_index_(output.AddStream(context_.get(), frame_rate)),
      kind_(std::move(kind)) {}

void FrameEncoder::Encode(AVFrame* frame) {
  Check(avcodec_send_frame(context_.get(), frame), "cannot encode the " + kind_);
  while (true) {
    const int result = avcodec_receive_packet(context_.get(), packet_.get());
    if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) return;
    Check(result, "cannot encode the " + kind_);
    // A video frame lasts one tick of the output rate; the FLV's duration counts the last one.
    if (packet_->duration == 0 && context_->codec_type == AVMEDIA_TYPE_VIDEO) packet_->duration = 1;
    if (output_lock_) {
      std::lock_guard lock(*output_lock_);
      output_.WritePacket(packet_.get(), context_->time_base, stream_index_);
    } else {
      output_.WritePacket(packet_.get(), context_->time_base, stream_index_);
    }
  }
}

}  // namespace vidforge
