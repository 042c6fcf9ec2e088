// One pass over the FLV: every decoded picture is offered to the poster and, with the sound,
// encoded into the MP4 twin. Without an MP4 to write, reading stops at the poster's picture.
#pragma once

#include "outside/webtwin/twin_options.h"

namespace webtwin {

// Writes the outputs `options` asks for. The poster is written whenever a picture could be
// decoded, even when the MP4 fails. Throws vidforge::EncodeError with the one line to print.
void MakeWebTwin(const TwinOptions& options);

}  // namespace webtwin
