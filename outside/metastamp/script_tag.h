// Script tags: which of them is an onMetaData, and the frame size an onMetaData claims.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "outside/metastamp/picture_size.h"

namespace metastamp {

// How many bytes of a script tag's body IsOnMetaData needs.
inline constexpr size_t kScriptNameBytes = 13;
// How far into an onMetaData the width and height are looked for.
inline constexpr size_t kMetadataSearchBytes = 64 * 1024;

bool IsOnMetaData(std::span<const uint8_t> body);

// The "width" and "height" of an onMetaData body, when both are there and plausible.
std::optional<FrameSize> MetadataFrameSize(std::span<const uint8_t> body);

}  // namespace metastamp
