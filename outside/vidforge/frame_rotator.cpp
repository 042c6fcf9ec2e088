#include "outside/vidforge/frame_rotator.h"

#include <utility>

namespace vidforge {
namespace {

// Copies one plane of width x height bytes turned by `turn`; `to` has the turned size.
void TurnPlane(const uint8_t* from, int from_stride, int width, int height, int turn,
               uint8_t* to, int to_stride) {
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = from + static_cast<ptrdiff_t>(y) * from_stride;
    for (int x = 0; x < width; ++x) {
      int to_x = x, to_y = y;
      switch (turn) {
        case 90:  // the left column becomes the top row
          to_x = height - 1 - y;
          to_y = x;
          break;
        case 180:
          to_x = width - 1 - x;
          to_y = height - 1 - y;
          break;
        case 270:  // the right column becomes the top row
          to_x = y;
          to_y = width - 1 - x;
          break;
      }
      to[static_cast<ptrdiff_t>(to_y) * to_stride + to_x] = row[x];
    }
  }
}

}  // namespace

void FrameRotator::StoredSize(int* width, int* height) const {
  if (turn_ == 90 || turn_ == 270) std::swap(*width, *height);
}

AVFrame* FrameRotator::Rotate(const AVFrame& frame) {
  if (frame.format != AV_PIX_FMT_YUV420P) throw EncodeError("cannot turn the video upright");
  AVFrame* out = turned_.get();
  av_frame_unref(out);
  out->format = frame.format;
  out->width = frame.width;
  out->height = frame.height;
  StoredSize(&out->width, &out->height);  // a quarter turn swaps the sides either way
  Check(av_frame_get_buffer(out, 0), "cannot turn the video upright");
  Check(av_frame_copy_props(out, &frame), "cannot turn the video upright");
  out->sample_aspect_ratio = {1, 1};

  for (int plane = 0; plane < 3; ++plane) {
    const int shift = plane == 0 ? 0 : 1;
    const int width = (frame.width + shift) >> shift;
    const int height = (frame.height + shift) >> shift;
    TurnPlane(frame.data[plane], frame.linesize[plane], width, height, turn_, out->data[plane],
              out->linesize[plane]);
  }
  return out;
}

}  // namespace vidforge
