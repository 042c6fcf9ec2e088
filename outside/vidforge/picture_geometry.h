// How the source's picture is meant to be seen: turned upright (a phone's clip is stored
// sideways with a rotation flag) and at its display shape (DV stores 720 pixels for both 4:3
// and 16:9 and says which in the pixel aspect).
#pragma once

extern "C" {
#include <libavformat/avformat.h>
}

#include "outside/vidforge/options.h"

namespace vidforge {

// The clockwise quarter turns that bring the stored picture upright: 0, 90, 180 or 270. Flips
// and angles between the quarters are taken as the nearest quarter turn.
int UprightTurn(const AVStream* stream);

// The upright picture's size at its display shape: the width follows the pixel aspect (rounded
// to an even number), the height stays as stored; sideways pictures swap the two. A pixel
// aspect beyond 1:4..4:1 is a broken header and is left out.
FrameSize DisplaySize(AVFormatContext* format, AVStream* stream);

}  // namespace vidforge
