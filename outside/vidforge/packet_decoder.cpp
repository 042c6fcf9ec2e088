#include "outside/vidforge/packet_decoder.h"

namespace vidforge {

PacketDecoder::PacketDecoder(CodecContextPtr opened, std::string kind)
    : context_(std::move(opened)), kind_(std::move(kind)) {}

void PacketDecoder::Decode(const AVPacket* packet, const FrameTaker& take) {
  if (avcodec_send_packet(context_.get(), packet) < 0) {
    ++damaged_packets_;
    return;
  }
  while (true) {
    const int result = avcodec_receive_frame(context_.get(), frame_.get());
    if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) return;
    if (result < 0) {
      ++damaged_packets_;
      return;
    }
    take(frame_.get());
    av_frame_unref(frame_.get());
  }
}

void PacketDecoder::Drain(const FrameTaker& take) {
  Decode(nullptr, take);
  if (damaged_packets_ > 0)
    Warn("skipped " + std::to_string(damaged_packets_) + " damaged " + kind_ + " packets");
}

std::optional<double> PacketDecoder::StampSeconds(const AVFrame* frame) const {
  if (frame->best_effort_timestamp == AV_NOPTS_VALUE) return std::nullopt;
  return frame->best_effort_timestamp * av_q2d(context_->pkt_timebase);
}

}  // namespace vidforge
