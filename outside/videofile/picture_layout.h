// The layout of the video frames that pass through the control: planar YUV 4:2:0, rows packed.
#pragma once

#include <cstddef>

namespace videofile {

inline int ChromaExtent(int luma_extent) {
  return (luma_extent + 1) / 2;
}

inline std::size_t I420Size(int width, int height) {
  return static_cast<std::size_t>(width) * height +
         2 * static_cast<std::size_t>(ChromaExtent(width)) * ChromaExtent(height);
}

inline int EvenCeiling(int extent) {
  return extent + (extent & 1);
}

}  // namespace videofile
