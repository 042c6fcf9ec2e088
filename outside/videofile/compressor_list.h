// The video compressors an AVI file can carry: FFmpeg's video encoders that have a RIFF
// four-character code, under names that begin with that code in lower case.
#pragma once

#include <string>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
}

namespace videofile {

struct Compressor {
  std::string name;  // "mp42 MPEG-4 part 2 Microsoft variant version 2 (msmpeg4v2)"
  const AVCodec* encoder = nullptr;
};

// Built once per process, sorted by name so that an index means the same compressor every time.
const std::vector<Compressor>& AviCompressors();

}  // namespace videofile
