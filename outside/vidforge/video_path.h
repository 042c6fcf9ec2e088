// The video from decoder to muxer: decode, bring to the output's frame rate and size, encode as
// Sorenson Spark (FFmpeg's "flv" encoder) with a keyframe at least every two seconds.
#pragma once

#include <cstdint>

#include "outside/vidforge/av_owners.h"
#include "outside/vidforge/frame_encoder.h"
#include "outside/vidforge/input_file.h"
#include "outside/vidforge/options.h"
#include "outside/vidforge/output_file.h"
#include "outside/vidforge/packet_decoder.h"
#include "outside/vidforge/timeline.h"

namespace vidforge {

class VideoPath {
 public:
  // Opens the decoder and the encoder and adds the video stream to `output`.
  VideoPath(const InputFile& input, const EncoderOptions& options, OutputFile& output);

  // Takes one packet of the video stream.
  void Decode(const AVPacket* packet);
  // Drains decoder, filters and encoder; throws when not a single frame came through.
  void Finish();

  // How far the decoded video has come, in seconds from the start of the input.
  double seconds_done() const { return timeline_.last(); }

 private:
  void Filter(AVFrame* decoded);
  void BuildFilters(const AVFrame* first);
  void DrainFilters();

  PacketDecoder decoder_;
  AVRational frame_rate_;
  FrameEncoder encoder_;
  Timeline timeline_;
  // Where the last decoded frame ends, in the filters' microseconds.
  int64_t end_pts_ = 0;

  FilterGraphPtr graph_;
  AVFilterContext* source_ = nullptr;
  AVFilterContext* sink_ = nullptr;
  FramePtr filtered_ = MakeFrame();
  int64_t frames_encoded_ = 0;
};

}  // namespace vidforge
