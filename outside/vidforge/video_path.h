// The video from decoder to muxer: decode, bring to the output's frame rate and size, encode as
// Sorenson Spark (FFmpeg's "flv" encoder) with a keyframe at least every two seconds.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>

#include "outside/vidforge/av_owners.h"
#include "outside/vidforge/frame_encoder.h"
#include "outside/vidforge/frame_hash_log.h"
#include "outside/vidforge/frame_rate_converter.h"
#include "outside/vidforge/frame_rotator.h"
#include "outside/vidforge/frame_scaler.h"
#include "outside/vidforge/input_file.h"
#include "outside/vidforge/options.h"
#include "outside/vidforge/output_file.h"
#include "outside/vidforge/packet_decoder.h"
#include "outside/vidforge/timeline.h"

namespace vidforge {

class VideoPath {
 public:
  // Opens the decoder and the encoder and adds the video stream to `output`.
  VideoPath(const InputFile& input, const EncoderOptions& options, OutputFile& output);

  // The two halves, decoding (with rate conversion and scaling) and encoding, may run on threads of
  // their own: then the decoding half hands each frame for the encoder to `take` instead of
  // encoding it. `take` may move the frame's content out.
  using FrameTaker = std::function<void(AVFrame* frame)>;
  void HandFramesTo(FrameTaker take) { take_ = std::move(take); }

  // Takes one packet of the video stream.
  void Decode(const AVPacket* packet);
  // Drains decoder and rate conversion; throws when not a single frame came through.
  void FinishDecoding();
  // Encodes one frame from the scaler.
  void Encode(AVFrame* frame);
  // Drains the encoder; throws when not a single frame came through.
  void FinishEncoding();
  // When the encoding half runs on a thread of its own, beside the sound's encoder.
  void ShareOutput(std::mutex& lock) { encoder_.ShareOutput(lock); }
  // Both halves on one thread: drains decoder, rate conversion and encoder.
  void Finish();

  // How far the decoded video has come, in seconds from the start of the input; read by the
  // thread that keeps the progress while another decodes.
  double seconds_done() const { return seconds_done_.load(std::memory_order_relaxed); }

 private:
  void Convert(AVFrame* decoded);
  void Deliver(AVFrame* converted);

  PacketDecoder decoder_;
  AVRational frame_rate_;
  FrameEncoder encoder_;
  Timeline timeline_;
  // Where the last decoded frame ends, in the rate converter's microseconds.
  int64_t end_pts_ = 0;

  FrameRateConverter rate_converter_;
  // Set up for the first decoded frame.
  std::optional<FrameScaler> scaler_;
  // For a picture stored sideways or upside down.
  std::optional<FrameRotator> rotator_;
  FrameHashLog hash_log_;
  FrameTaker take_;
  int64_t frames_encoded_ = 0;
  std::atomic<double> seconds_done_ = 0;
};

}  // namespace vidforge
