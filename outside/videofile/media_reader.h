// The reading side of the control: an input opened for its best video stream and, when it has
// one, its best audio stream, read as frames and audio blocks on one time line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "outside/videofile/audio_stream_reader.h"
#include "outside/videofile/packet_source.h"
#include "outside/videofile/video_read_ahead.h"
#include "outside/videofile/video_stream_reader.h"

namespace videofile {

class MediaReader {
 public:
  static Status Open(const std::string& path, std::unique_ptr<MediaReader>& reader);

  bool has_audio() const { return audio_ != nullptr; }
  std::int32_t video_kbps() const { return video_kbps_; }
  int width() const { return video_->width(); }
  int height() const { return video_->height(); }
  double frame_rate() const { return video_->frame_rate(); }
  int channels() const { return audio_ ? audio_->channels() : 0; }
  int sample_rate() const { return audio_ ? audio_->sample_rate() : 0; }
  // The declared lengths, or the positions once reading has passed them.
  std::int32_t video_length_ms() const;
  std::int32_t audio_length_ms() const;
  std::int32_t video_position_ms() const;
  std::int32_t audio_position_ms() const;

  Status ReadVideoFrame(std::vector<std::uint8_t>& frame);
  Status ReadAudioBlock(std::size_t max_bytes, std::vector<std::uint8_t>& block);

 private:
  MediaReader() = default;
  Status OpenStreams(const std::string& path);

  // Declared in the order of construction; the readers use the packet source, which uses the
  // input, so they are destroyed first.
  InputFormatPtr input_;
  std::unique_ptr<PacketSource> packets_;
  std::unique_ptr<VideoStreamReader> video_;
  std::unique_ptr<AudioStreamReader> audio_;
  std::int32_t video_kbps_ = 0;
  std::int32_t video_length_ms_ = 0;
  std::int32_t audio_length_ms_ = 0;
  // Declared last: its thread uses the video reader, so it stops before anything else goes.
  std::unique_ptr<VideoReadAhead> video_ahead_;
};

}  // namespace videofile
