// An opened encoder whose packets go straight into one stream of the FLV.
#pragma once

#include <mutex>
#include <string>

#include "outside/vidforge/av_owners.h"
#include "outside/vidforge/output_file.h"

namespace vidforge {

class FrameEncoder {
 public:
  // Adds the stream to `output`; `kind` names it in errors ("video", "audio").
  FrameEncoder(CodecContextPtr opened, OutputFile& output, AVRational frame_rate, std::string kind);

  AVCodecContext* context() const { return context_.get(); }
  // Encodes `frame` (null: the end) and writes whatever packets are ready.
  void Encode(AVFrame* frame);
  // When encoders on several threads share the output, each write holds `lock`.
  void ShareOutput(std::mutex& lock) { output_lock_ = &lock; }

 private:
  CodecContextPtr context_;
  OutputFile& output_;
  int stream_index_;
  std::string kind_;
  PacketPtr packet_ = MakePacket();
  std::mutex* output_lock_ = nullptr;
};

}  // namespace vidforge
