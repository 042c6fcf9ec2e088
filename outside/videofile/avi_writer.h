// The writing side of the control: an AVI file with one video stream from the chosen encoder
// and, optionally, one stream of 16-bit PCM audio, interleaved by time.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "outside/videofile/av_owners.h"
#include "outside/videofile/video_file.h"

namespace videofile {

struct AviWriterSettings {
  const AVCodec* encoder = nullptr;
  std::int32_t video_kbps = 0;  // 0: a fixed high quality instead of a bit rate
  int frame_width = 0;          // of the I420 frames given to WriteVideoFrame
  int frame_height = 0;
  int output_width = 0;  // of the file's video, before odd sizes are padded to even
  int output_height = 0;
  double frame_rate = 0;
  bool has_audio = false;
  int sample_rate = 0;
  int channels = 0;
};

class AviWriter {
 public:
  // `replace` allows overwriting an existing file.
  static Status Create(const std::string& path, bool replace, const AviWriterSettings& settings,
                       std::unique_ptr<AviWriter>& writer);

  Status WriteVideoFrame(const std::vector<std::uint8_t>& frame);
  Status WriteAudioBlock(const std::vector<std::uint8_t>& block);

  // Flushes the encoder, writes the index and closes the file.
  Status Finish();

 private:
  explicit AviWriter(const AviWriterSettings& settings) : settings_(settings) {}
  Status Open(const std::string& path);
  Status OpenVideoEncoder();
  Status AddAudioStream();
  Status AllocatePictures();
  Status FillPicture(const std::vector<std::uint8_t>& frame);
  Status Encode(AVFrame* picture);
  Status WritePacket(AVPacket* packet, AVRational time_base, AVStream* stream);

  AviWriterSettings settings_;
  OutputFormatPtr output_;
  CodecContextPtr encoder_;
  AVStream* video_stream_ = nullptr;
  AVStream* audio_stream_ = nullptr;
  FramePtr picture_;          // the given frame, padded to even size
  FramePtr encoder_picture_;  // scaled or converted for the encoder, when it needs that
  ScalerPtr scaler_;
  PacketPtr packet_;
  std::int64_t frames_written_ = 0;
  std::int64_t samples_written_ = 0;
};

}  // namespace videofile
