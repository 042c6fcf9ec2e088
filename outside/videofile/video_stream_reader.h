// Reads the video of an input as I420 frames at a constant frame rate: each decoded frame is
// placed at the frame slot nearest its time stamp, a frame that misses slots is repeated, and
// of several frames for one slot the last is kept.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "outside/videofile/stream_decoder.h"

namespace videofile {

class VideoStreamReader {
 public:
  // `origin_seconds` is the time that becomes slot 0.
  VideoStreamReader(PacketSource& packets, AVStream* stream, AVRational frame_rate,
                    double origin_seconds);

  // Opens the decoder and decodes the first frame, which fixes the frame size.
  Status Open(const AVCodec* codec);

  // The next frame; empty once the video has ended.
  Status Read(std::vector<std::uint8_t>& frame);

  int width() const { return width_; }
  int height() const { return height_; }
  double frame_rate() const { return av_q2d(frame_rate_); }
  std::int64_t next_slot() const { return next_slot_; }

 private:
  struct Picture {
    std::vector<std::uint8_t> pixels;
    std::int64_t slot = 0;
    std::int64_t end_slot = 1;  // the first slot after the picture's duration
  };

  Status DecodePicture(std::optional<Picture>& picture);
  void PlaceInSlots(const AVFrame* frame, Picture& picture);
  Status PrepareScaler(const AVFrame* frame);
  Status ToI420(const AVFrame* frame, std::vector<std::uint8_t>& pixels);

  StreamDecoder decoder_;
  AVRational frame_rate_;
  double origin_seconds_;
  int width_ = 0;
  int height_ = 0;
  FramePtr decoded_;
  FramePtr scaled_;
  ScalerPtr scaler_;
  struct {
    int width = 0;
    int height = 0;
    int format = -1;
  } scaler_source_;               // what scaler_ was made for
  std::optional<Picture> held_;   // the picture shown in the current slot
  std::optional<Picture> ahead_;  // the next decoded picture, not due yet
  bool decoder_ended_ = false;
  std::int64_t next_slot_ = 0;
};

}  // namespace videofile
