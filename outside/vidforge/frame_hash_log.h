// For checking the video path against the ffmpeg command line: when VIDFORGE_FRAME_HASHES names a
// file, each picture handed to the video encoder is written there as a line with its time stamp
// (in frames) and the MD5 of its planes packed line after line, as ffmpeg's framemd5 output
// hashes raw pictures.
#pragma once

#include <cstdio>
#include <memory>

extern "C" {
#include <libavutil/frame.h>
}

namespace vidforge {

class FrameHashLog {
 public:
  // Opens the file named by the environment, if any; without it, `Write` does nothing.
  FrameHashLog();

  void Write(const AVFrame& frame);

 private:
  struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  std::unique_ptr<std::FILE, FileCloser> file_;
};

}  // namespace vidforge
