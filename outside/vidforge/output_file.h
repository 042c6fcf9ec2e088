// The FLV being written: the muxer on a temporary file that becomes the output only once the
// trailer (with the final onMetaData duration and size) is in place.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include "outside/vidforge/temporary_file.h"

namespace vidforge {

// The output may be missing or a regular file (after following links), which -y replaces.
// Anything else (a device, a FIFO, a socket, a folder) is never written over nor removed:
// throws UsageError naming what is there.
void CheckOutputKind(const std::filesystem::path& output);

class OutputFile {
 public:
  explicit OutputFile(const std::filesystem::path& final_path);
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Encoders ask for global headers when the container stores them (FLV does).
  bool WantsGlobalHeader() const;
  // A stream carrying what `encoder` (already opened) produces; returns its index.
  int AddStream(const AVCodecContext* encoder, AVRational frame_rate);
  // A string property of the onMetaData the header carries; before WriteHeader.
  void SetMetadata(const std::string& key, const std::string& value);
  void WriteHeader();
  // Takes the packet's content; its timestamps are in `encoder_time_base`.
  void WritePacket(AVPacket* packet, AVRational encoder_time_base, int stream_index);
  // Writes the trailer, closes the file and gives it the output's name.
  void Commit();

 private:
  TemporaryFile file_;
  AVFormatContext* context_ = nullptr;
};

}  // namespace vidforge
