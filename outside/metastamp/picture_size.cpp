#include "outside/metastamp/picture_size.h"

#include "outside/metastamp/flv_format.h"

namespace metastamp {

std::optional<FrameSize> FrameSizeOfVideoTag(std::span<const uint8_t> body) {
  if (body.empty()) return std::nullopt;
  const uint8_t frame_type = body[0] >> 4;
  if (frame_type == kFrameCommand) return std::nullopt;
  const auto data = body.subspan(1);
  switch (body[0] & 0x0F) {
    case kCodecSorensonH263:
      return SorensonH263PictureSize(data);
    case kCodecScreenVideo:
    case kCodecScreenVideo2:
      return ScreenVideoPictureSize(data);
    case kCodecVp6:
      return Vp6PictureSize(data);
    case kCodecVp6Alpha:
      return Vp6AlphaPictureSize(data);
    case kCodecAvc:
      return AvcSequenceHeaderSize(data);
    default:
      return std::nullopt;
  }
}

}  // namespace metastamp
