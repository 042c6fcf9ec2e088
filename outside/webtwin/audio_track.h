// The MP4's sound: the FLV's sound decoded, resampled to a rate the AAC encoder takes (the FLV's
// own where it can), cut into the encoder's frame size and encoded with FFmpeg's AAC encoder at
// 128 kbit/s, or at the FLV's bit rate when that is lower.
#pragma once

#include <cstdint>
#include <optional>

#include "outside/vidforge/av_owners.h"
#include "outside/webtwin/mp4_file.h"
#include "outside/webtwin/track_encoder.h"

namespace webtwin {

class AudioTrack {
 public:
  // For the sound of `stream` as `decoder` gives it; adds the audio stream to `output`.
  AudioTrack(const AVStream& stream, const AVCodecContext& decoder, Mp4File& output);
  ~AudioTrack();
  AudioTrack(const AudioTrack&) = delete;
  AudioTrack& operator=(const AudioTrack&) = delete;

  // Takes a decoded frame whose time stamp is `seconds` (none: right after the previous one).
  void Add(const AVFrame* decoded, std::optional<double> seconds);
  // Drains the resampler and the encoder.
  void Finish();

 private:
  void SetUpResampler(const AVFrame* decoded);
  void Convert(const uint8_t** samples, int count);
  void EncodeWholeFrames(bool include_last_partial);

  TrackEncoder encoder_;
  vidforge::ResamplerPtr resampler_;
  // What the resampler was set up for; a stream may change its format midway.
  int resampler_rate_ = 0;
  int resampler_format_ = -1;
  AVChannelLayout resampler_layout_ = {};
  vidforge::AudioFifoPtr fifo_;
  // Time stamp of the next sample into the encoder, in samples; set by the first decoded frame.
  std::optional<int64_t> next_pts_;
};

}  // namespace webtwin
