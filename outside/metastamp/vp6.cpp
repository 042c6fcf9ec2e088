// On2 VP6 in FLV: one byte of adjustments (pixels to cut from the right and from the bottom of
// the coded picture), then the VP6 frame. Only key frames say their size: after the first two
// bytes (and two more holding a partition offset, when the coefficients are in a separate
// partition or the frame has no filter header) come the coded macroblock rows and columns.
// VP6 with alpha puts a 24-bit offset to the alpha frame between the adjustments and the frame.
#include "outside/metastamp/picture_size.h"

namespace metastamp {

namespace {

std::optional<FrameSize> Vp6FrameSize(uint8_t adjustment, std::span<const uint8_t> frame) {
  if (frame.size() < 2) return std::nullopt;
  const bool key_frame = (frame[0] & 0x80) == 0;
  if (!key_frame) return std::nullopt;
  if ((frame[1] >> 3) > 8) return std::nullopt;  // no such VP6 sub-version
  const bool separate_partition = (frame[0] & 0x01) != 0;
  const bool filter_header = (frame[1] & 0x06) != 0;
  const size_t rows_at = (separate_partition || !filter_header) ? 4 : 2;
  if (frame.size() < rows_at + 2) return std::nullopt;
  const uint32_t rows = frame[rows_at];
  const uint32_t columns = frame[rows_at + 1];
  if (rows == 0 || columns == 0) return std::nullopt;
  // 16 times a non-zero count is always more than an adjustment of at most 15.
  return FrameSize{columns * 16 - (adjustment >> 4), rows * 16 - (adjustment & 0x0F)};
}

}  // namespace

std::optional<FrameSize> Vp6PictureSize(std::span<const uint8_t> data) {
  if (data.empty()) return std::nullopt;
  return Vp6FrameSize(data[0], data.subspan(1));
}

std::optional<FrameSize> Vp6AlphaPictureSize(std::span<const uint8_t> data) {
  constexpr size_t kAlphaOffsetSize = 3;
  if (data.size() < 1 + kAlphaOffsetSize) return std::nullopt;
  return Vp6FrameSize(data[0], data.subspan(1 + kAlphaOffsetSize));
}

}  // namespace metastamp
