// The frame rate of a video, told from its frame timestamps.
#pragma once

#include <cstdint>

namespace metastamp {

// The simplest frame rate (a common rate such as 25, another whole number, a half such as 7.5,
// an NTSC rate such as 29.97) that fits `count` frames spread over `span_ms` between the first and
// last timestamp, given that each timestamp is rounded to the millisecond; the plain average when
// none fits (a variable rate). 0 when it cannot be told (fewer than two frames, or all at one
// time).
double EstimateFrameRate(uint64_t count, uint32_t span_ms);

}  // namespace metastamp
