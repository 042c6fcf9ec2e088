// Brings frames to the encoder's size and to YUV 4:2:0 with a bicubic filter, choosing what
// FFmpeg's `scale` filter chooses with its defaults, so the pixels come out as the ffmpeg command
// line makes them. Frames already at that size and format pass untouched; a frame whose size,
// format, aspect or colour range differs from the one before gets a scaler set up anew.
#pragma once

#include "outside/vidforge/av_owners.h"

namespace vidforge {

class FrameScaler {
 public:
  // For frames like `first`, to width x height.
  FrameScaler(const AVFrame& first, int width, int height);

  // Returns `frame` itself when it already fits, otherwise a new picture made from it (valid
  // until the next call; its content may be moved out). `frame` keeps its content either way.
  AVFrame* Scale(AVFrame* frame);

 private:
  // What the scaler was last set up for.
  struct Source {
    int width = 0;
    int height = 0;
    int format = -1;
    AVRational aspect = {0, 1};
    AVColorRange range = AVCOL_RANGE_UNSPECIFIED;
  };
  void SetUp();

  int width_;
  int height_;
  Source source_;
  ScalerPtr sws_;  // none while frames pass untouched
  FramePtr scaled_ = MakeFrame();
};

}  // namespace vidforge
