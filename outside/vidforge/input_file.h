// The source video: whatever container libavformat reads, with the one video stream to encode
// and, when there is one, the audio stream that goes with it.
#pragma once

#include <optional>
#include <string>

#include "outside/vidforge/av_owners.h"

namespace vidforge {

class InputFile {
 public:
  explicit InputFile(const std::string& path);

  AVFormatContext* context() const { return context_.get(); }
  AVStream* video_stream() const { return context_->streams[video_index_]; }
  // The audio stream to go with the video, or null when the file has none.
  AVStream* audio_stream() const {
    return audio_index_ < 0 ? nullptr : context_->streams[audio_index_];
  }
  // Where the file's timeline starts, in seconds: every stream is placed relative to it.
  double start_seconds() const { return start_seconds_; }
  // Length in seconds, or nothing when the container does not say.
  std::optional<double> duration_seconds() const { return duration_seconds_; }
  // How much of the file has been read, 0..1, or nothing when its size is unknown.
  std::optional<double> fraction_read() const;

 private:
  InputFormatPtr context_;
  int video_index_ = -1;
  int audio_index_ = -1;
  double start_seconds_ = 0;
  std::optional<double> duration_seconds_;
};

// A decoder for `stream`, opened and ready; throws when there is none for its codec.
CodecContextPtr OpenDecoder(AVFormatContext* format, AVStream* stream);

}  // namespace vidforge
