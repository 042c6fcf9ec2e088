// Reads the audio of an input as interleaved signed 16-bit PCM at the source's sample rate, in
// mono or stereo (more channels are mixed down to stereo). Audio that starts after the origin
// is preceded by silence, so that sample 0 plays with video slot 0.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "outside/videofile/stream_decoder.h"

namespace videofile {

class AudioStreamReader {
 public:
  AudioStreamReader(PacketSource& packets, AVStream* stream, double origin_seconds);
  ~AudioStreamReader();
  AudioStreamReader(const AudioStreamReader&) = delete;
  AudioStreamReader& operator=(const AudioStreamReader&) = delete;

  Status Open(const AVCodec* codec);

  // Up to `max_bytes` bytes rounded down to whole sample frames; empty once the audio has ended.
  Status Read(std::size_t max_bytes, std::vector<std::uint8_t>& block);

  int channels() const { return layout_.nb_channels; }
  int sample_rate() const { return sample_rate_; }
  std::size_t frame_bytes() const { return 2 * static_cast<std::size_t>(channels()); }
  std::int64_t samples_read() const { return samples_read_; }

 private:
  Status DecodeMore();
  Status Convert(const AVFrame* frame);
  Status Drain();
  void StartAt(const AVFrame* first_frame);

  StreamDecoder decoder_;
  double origin_seconds_;
  AVChannelLayout layout_{};
  int sample_rate_ = 0;
  FramePtr decoded_;
  ResamplerPtr resampler_;
  AVChannelLayout resampler_input_layout_{};
  int resampler_input_rate_ = 0;
  int resampler_input_format_ = -1;
  bool started_ = false;
  bool ended_ = false;
  std::int64_t silence_left_ = 0;  // in sample frames
  std::vector<std::uint8_t> pending_;
  std::size_t pending_offset_ = 0;
  std::int64_t samples_read_ = 0;
};

}  // namespace videofile
