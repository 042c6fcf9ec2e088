// What an input declares about the time of its streams: starts, ends, frame rate, bit rate.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "outside/videofile/av_owners.h"
#include "outside/videofile/video_file.h"

namespace videofile {

// The stream's first time stamp in seconds; 0 when the file does not say.
double StartSeconds(const AVStream* stream);

// Where the stream ends in seconds, from its own duration or else the file's; none when neither
// is declared or the duration is only a guess from the bit rate.
std::optional<double> DeclaredEndSeconds(const AVFormatContext* input, const AVStream* stream);

// Where a video stream ends by the number of frames the file declares for it, at its average
// rate; none when the file does not count them. Unlike a declared duration, which a demuxer may
// work out from what is actually there, a count shows when frames are missing.
std::optional<double> CountedEndSeconds(const AVStream* video);

// Reads every packet of the file at `path` (without decoding) and gives, for each stream index,
// where its last packet ends in seconds; 0 for a stream without time stamps.
Status ScanEndSeconds(const std::string& path, std::vector<double>& end_seconds);

// The constant rate at which a video stream is delivered: its average frame rate, else its base
// rate, else 25 frames per second.
AVRational ConstantFrameRate(const AVStream* video);

// The video's bit rate in kbit/s: the stream's own, else what the file's leaves after the other
// streams' rates, else 0.
std::int32_t VideoBitRateKbps(const AVFormatContext* input, const AVStream* video);

}  // namespace videofile
