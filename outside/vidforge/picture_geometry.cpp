#include "outside/vidforge/picture_geometry.h"

#include <cmath>
#include <cstdint>

extern "C" {
#include <libavutil/display.h>
}

#include "outside/vidforge/av_error.h"

namespace vidforge {
namespace {

constexpr double kLargestPixelAspect = 4;

bool IsSideways(int turn) {
  return turn == 90 || turn == 270;
}

}  // namespace

int UprightTurn(const AVStream* stream) {
  size_t size = 0;
  const uint8_t* matrix = av_stream_get_side_data(stream, AV_PKT_DATA_DISPLAYMATRIX, &size);
  if (!matrix || size < 9 * sizeof(int32_t)) return 0;
  // The matrix says how far to turn counter-clockwise to show the picture; NaN when degenerate.
  const double counter_clockwise =
      av_display_rotation_get(reinterpret_cast<const int32_t*>(matrix));
  if (std::isnan(counter_clockwise)) return 0;
  const long quarters = std::lround(-counter_clockwise / 90);
  return static_cast<int>(((quarters % 4) + 4) % 4) * 90;
}

FrameSize DisplaySize(AVFormatContext* format, AVStream* stream) {
  const AVCodecParameters* source = stream->codecpar;
  if (source->width <= 0 || source->height <= 0)
    throw EncodeError("the input's video has no frame size");
  FrameSize size{source->width, source->height};

  const AVRational aspect = av_guess_sample_aspect_ratio(format, stream, nullptr);
  if (aspect.num > 0 && aspect.den > 0 && aspect.num != aspect.den) {
    const double ratio = av_q2d(aspect);
    if (ratio >= 1 / kLargestPixelAspect && ratio <= kLargestPixelAspect)
      size.width = std::max(2, 2 * static_cast<int>(std::lround(size.width * ratio / 2)));
  }
  if (IsSideways(UprightTurn(stream))) std::swap(size.width, size.height);
  return size;
}

}  // namespace vidforge
