// The picture header of Sorenson H.263 (Sorenson Spark), which every frame carries:
// a 17-bit start code, a 5-bit version, an 8-bit temporal reference, then a 3-bit picture size
// that is either a standard size or a custom one in 8 or 16 bits per side.
#include "outside/metastamp/bit_reader.h"
#include "outside/metastamp/picture_size.h"

namespace metastamp {

namespace {
constexpr uint32_t kPictureStartCode = 1;
constexpr FrameSize kStandardSizes[] = {{352, 288}, {176, 144}, {128, 96}, {320, 240}, {160, 120}};
}  // namespace

std::optional<FrameSize> SorensonH263PictureSize(std::span<const uint8_t> data) {
  BitReader bits(data);
  if (bits.Bits(17) != kPictureStartCode) return std::nullopt;
  if (bits.Bits(5) > 1) return std::nullopt;  // only versions 0 and 1 exist
  bits.Skip(8);                               // temporal reference
  const uint32_t picture_size = bits.Bits(3);
  FrameSize size;
  if (picture_size == 0 || picture_size == 1) {
    const int side_bits = picture_size == 0 ? 8 : 16;
    size.width = bits.Bits(side_bits);
    size.height = bits.Bits(side_bits);
  } else if (picture_size <= 6) {
    size = kStandardSizes[picture_size - 2];
  } else {
    return std::nullopt;  // reserved
  }
  if (!bits.ok() || size.width == 0 || size.height == 0) return std::nullopt;
  return size;
}

}  // namespace metastamp
