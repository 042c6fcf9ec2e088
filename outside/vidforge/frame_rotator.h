// Turns YUV 4:2:0 pictures by quarter turns, clockwise: the last step that brings a sideways
// stored picture upright. The scaler before it works at the stored orientation.
#pragma once

#include "outside/vidforge/av_owners.h"

namespace vidforge {

class FrameRotator {
 public:
  // `turn` is 90, 180 or 270.
  explicit FrameRotator(int turn) : turn_(turn) {}

  // A new picture, `frame` turned (valid until the next call; its content may be moved out).
  // `frame` must be YUV 4:2:0; it keeps its content.
  AVFrame* Rotate(const AVFrame& frame);

  // Turns width x height of the upright picture into the stored size that comes out as it.
  void StoredSize(int* width, int* height) const;

 private:
  int turn_;
  FramePtr turned_ = MakeFrame();
};

}  // namespace vidforge
