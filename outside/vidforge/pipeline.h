// Drives one encoding from the first packet read to the last one written, either all on the
// calling thread or as a pipeline on threads of its own. Both write the same bytes: each
// encoder sees the same frames in the same order, and the muxer orders the packets of the two
// streams by time whatever order they reach it in.
#pragma once

#include <functional>

#include "outside/vidforge/audio_path.h"
#include "outside/vidforge/input_file.h"
#include "outside/vidforge/video_path.h"

namespace vidforge {

struct EncodingStages {
  InputFile& input;
  VideoPath& video;
  AudioPath* audio = nullptr;  // null when the sound is left out
  // Keeps the progress: called on the reading thread after every packet read, with how far
  // the video and the sound have been decoded (in seconds; 0 without sound).
  std::function<void(double video_seconds, double audio_seconds)> progress;
};

// Decoding, filtering and encoding of both streams in turn, on the calling thread.
void RunOnOneThread(EncodingStages& stages);

// Two threads, for two cores: the video encoder on a thread of its own, and reading, decoding
// and filtering on the calling thread; the sound is coded by whichever of them is free (see
// WorkBoard). The first thread to fail stops the other at once, and its error is thrown here
// once both have ended. The progress gets, at the end, what it would have got on one thread
// after the last packet.
void RunPipelined(EncodingStages& stages);

// VIDFORGE_SINGLE_THREAD=1 (for the tests, which compare both ways) runs on one thread.
bool OneThreadRequested();

}  // namespace vidforge
