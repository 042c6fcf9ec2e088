// The frame size of a video, read from the picture headers inside FLV video tags.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace metastamp {

struct FrameSize {
  uint32_t width = 0;
  uint32_t height = 0;
  friend bool operator==(const FrameSize&, const FrameSize&) = default;
};

// How much of a video tag's body FrameSizeOfVideoTag needs at most (an AVC sequence header
// holds its parameter sets; the other headers are a few bytes).
inline constexpr size_t kPictureHeaderBytes = 4096;

// The size from the body of one video tag (beginning with its frame type and codec byte), when
// that tag carries one: every Sorenson H.263 and Screen Video frame, VP6 key frames, and the
// AVC sequence header.
std::optional<FrameSize> FrameSizeOfVideoTag(std::span<const uint8_t> body);

// The readers for each codec, given what follows the frame type and codec byte.
std::optional<FrameSize> SorensonH263PictureSize(std::span<const uint8_t> data);
std::optional<FrameSize> ScreenVideoPictureSize(std::span<const uint8_t> data);
std::optional<FrameSize> Vp6PictureSize(std::span<const uint8_t> data);
std::optional<FrameSize> Vp6AlphaPictureSize(std::span<const uint8_t> data);
std::optional<FrameSize> AvcSequenceHeaderSize(std::span<const uint8_t> data);
// The cropped size from a sequence parameter set NAL unit (its header byte included).
std::optional<FrameSize> AvcSpsSize(std::span<const uint8_t> nal);

}  // namespace metastamp
