// A decoder fed packet by packet. Damaged data is skipped and counted, not fatal: a partly
// broken file still gives what can be decoded of it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "outside/vidforge/av_owners.h"

namespace vidforge {

class PacketDecoder {
 public:
  using FrameTaker = std::function<void(AVFrame* frame)>;

  // `kind` names the stream in warnings ("video", "audio").
  PacketDecoder(CodecContextPtr opened, std::string kind);

  AVCodecContext* context() const { return context_.get(); }
  // Decodes `packet` and hands every frame that comes out to `take`, which may keep a reference.
  void Decode(const AVPacket* packet, const FrameTaker& take);
  // Hands out the frames still held back, and says how much was skipped.
  void Drain(const FrameTaker& take);
  // The time stamp of a decoded frame in seconds, if it has one.
  std::optional<double> StampSeconds(const AVFrame* frame) const;

 private:
  CodecContextPtr context_;
  std::string kind_;
  FramePtr frame_ = MakeFrame();
  int64_t damaged_packets_ = 0;
};

}  // namespace vidforge
