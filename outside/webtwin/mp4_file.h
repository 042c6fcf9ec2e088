// The MP4 being written: the muxer on a temporary file beside the output, with the index
// (moov) moved before the media data when it is finished, so that a browser can start playing
// while the rest still downloads. The file takes the output's name only once complete.
#pragma once

#include <filesystem>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include "outside/vidforge/temporary_file.h"

namespace webtwin {

class Mp4File {
 public:
  explicit Mp4File(const std::filesystem::path& final_path);
  ~Mp4File();
  Mp4File(const Mp4File&) = delete;
  Mp4File& operator=(const Mp4File&) = delete;

  // Encoders must put their headers in the stream description (MP4 keeps them there).
  static constexpr int kEncoderFlags = AV_CODEC_FLAG_GLOBAL_HEADER;

  // A stream carrying what `encoder` (already opened) produces; returns its index.
  int AddStream(const AVCodecContext* encoder);
  void WriteHeader();
  // Takes the packet's content; its timestamps are in `encoder_time_base`.
  void WritePacket(AVPacket* packet, AVRational encoder_time_base, int stream_index);
  // Writes the index, closes the file and gives it the output's name.
  void Commit();

 private:
  std::filesystem::path final_path_;
  vidforge::TemporaryFile file_;
  AVFormatContext* context_ = nullptr;
};

}  // namespace webtwin
