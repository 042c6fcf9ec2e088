// An opened encoder whose packets go straight into one stream of the MP4.
#pragma once

#include <string>

#include "outside/vidforge/av_owners.h"
#include "outside/webtwin/mp4_file.h"

namespace webtwin {

class TrackEncoder {
 public:
  // Adds the stream to `output`; `kind` names it in errors ("video", "audio").
  TrackEncoder(vidforge::CodecContextPtr opened, Mp4File& output, std::string kind);

  AVCodecContext* context() const { return context_.get(); }
  // Encodes `frame` (null: the end) and writes whatever packets are ready. A video packet
  // without a duration lasts `video_frame_ticks` of the encoder's time base, so that the MP4's
  // length counts the last frame as the FLV's does.
  void Encode(AVFrame* frame, int64_t video_frame_ticks = 0);

 private:
  vidforge::CodecContextPtr context_;
  Mp4File& output_;
  int stream_index_;
  std::string kind_;
  vidforge::PacketPtr packet_ = vidforge::MakePacket();
};

}  // namespace webtwin
