// The sound from decoder to muxer: decode, resample to the chosen rate and channels, cut into
// the MP3 encoder's frame size, encode with LAME.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>

#include "outside/vidforge/av_owners.h"
#include "outside/vidforge/frame_encoder.h"
#include "outside/vidforge/input_file.h"
#include "outside/vidforge/options.h"
#include "outside/vidforge/output_file.h"
#include "outside/vidforge/packet_decoder.h"
#include "outside/vidforge/timeline.h"

namespace vidforge {

class AudioPath {
 public:
  // Opens the MP3 encoder and adds the audio stream to `output`; `decoder` is already open.
  AudioPath(const InputFile& input, CodecContextPtr decoder, const AudioSettings& settings,
            OutputFile& output);
  ~AudioPath();
  AudioPath(const AudioPath&) = delete;
  AudioPath& operator=(const AudioPath&) = delete;

  // Takes one packet of the audio stream.
  void Decode(const AVPacket* packet);
  // Drains decoder, resampler and encoder.
  void Finish();

  // How far the decoded sound has come, in seconds from the start of the input; read by the
  // thread that keeps the progress while another decodes.
  double seconds_done() const { return seconds_done_.load(std::memory_order_relaxed); }
  // When the sound runs on a thread of its own, beside the video's encoder.
  void ShareOutput(std::mutex& lock) { encoder_.ShareOutput(lock); }

 private:
  void Resample(const AVFrame* decoded);
  void ConfigureResampler(const AVFrame* decoded, const AVChannelLayout& layout);
  void ConvertIntoFifo(const uint8_t** samples, int count);
  void EncodeWholeFrames(bool include_last_partial);

  PacketDecoder decoder_;
  FrameEncoder encoder_;
  Timeline timeline_;
  double previous_frame_seconds_ = 0;
  std::atomic<double> seconds_done_ = 0;

  ResamplerPtr resampler_;
  // What the resampler was set up for; a stream may change its format midway.
  int resampler_rate_ = 0;
  AVSampleFormat resampler_format_ = AV_SAMPLE_FMT_NONE;
  AVChannelLayout resampler_layout_ = {};

  AudioFifoPtr fifo_;
  FramePtr converted_ = MakeFrame();
  int converted_capacity_ = 0;
  FramePtr encoder_frame_ = MakeFrame();
  // Time stamp of the next sample into the encoder, in samples; set by the first decoded frame.
  std::optional<int64_t> next_pts_;
};

}  // namespace vidforge
