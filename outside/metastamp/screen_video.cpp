// Screen Video (versions 1 and 2) begins every frame with the block width and the image width
// in 4 and 12 bits, then the same for the height.
#include "outside/metastamp/bit_reader.h"
#include "outside/metastamp/picture_size.h"

namespace metastamp {

std::optional<FrameSize> ScreenVideoPictureSize(std::span<const uint8_t> data) {
  BitReader bits(data);
  bits.Skip(4);
  const uint32_t width = bits.Bits(12);
  bits.Skip(4);
  const uint32_t height = bits.Bits(12);
  if (!bits.ok() || width == 0 || height == 0) return std::nullopt;
  return FrameSize{width, height};
}

}  // namespace metastamp
