// One encoding run: the input read packet by packet through the video and audio paths into the
// FLV, with the progress file kept up to date.
#pragma once

#include "outside/vidforge/options.h"

namespace vidforge {

// Throws EncodeError (or another std::exception) on failure; no output file remains then.
void Transcode(const EncoderOptions& options);

}  // namespace vidforge
