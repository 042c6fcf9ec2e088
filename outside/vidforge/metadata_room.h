// Room in the FLV's onMetaData for the full one the metadata tool writes after the encoding
// (its key frame index above all), so that the tool rewrites that one tag in place instead of
// copying the whole video.
#pragma once

#include <cstddef>
#include <optional>

#include "outside/vidforge/output_file.h"

namespace vidforge {

// Bytes to reserve for an input of `duration_seconds`: its key frame index at one key frame
// every two seconds, with a margin for cuts the encoder turns into key frames and for the other
// properties. Nothing for an input of unknown length.
size_t MetadataRoomFor(std::optional<double> duration_seconds);

// Adds `bytes` of padding properties to the onMetaData `output` writes with its header.
void ReserveMetadataRoom(OutputFile& output, size_t bytes);

}  // namespace vidforge
