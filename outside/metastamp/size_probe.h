// The frame size of an FLV, read from as little of it as it takes, so that asking costs the
// same for a 1 GB file as for a 1 MB one.
#pragma once

#include <optional>

#include "outside/metastamp/byte_source.h"
#include "outside/metastamp/picture_size.h"

namespace metastamp {

// The size in the first video tags that carry a picture header; what the onMetaData claims only
// when they give none. Nothing when neither says. Throws Error when the file is no FLV; a file
// cut short answers from the complete tags before the cut, and throws TruncatedError when those
// say nothing.
std::optional<FrameSize> ProbeFrameSize(ByteSource& source);

}  // namespace metastamp
