#include "outside/vidforge/frame_hash_log.h"

#include <cinttypes>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" {
#include <libavutil/imgutils.h>
#include <libavutil/md5.h>
}

#include "outside/vidforge/av_error.h"

namespace vidforge {

FrameHashLog::FrameHashLog() {
  const char* path = std::getenv("VIDFORGE_FRAME_HASHES");
  if (!path || !*path) return;
  file_.reset(std::fopen(path, "w"));
  if (!file_) throw EncodeError(std::string("cannot write the frame hashes to ") + path);
}

void FrameHashLog::Write(const AVFrame& frame) {
  if (!file_) return;
  const auto format = static_cast<AVPixelFormat>(frame.format);
  const int size = av_image_get_buffer_size(format, frame.width, frame.height, 1);
  Check(size, "cannot hash a frame");
  std::vector<uint8_t> packed(static_cast<size_t>(size));
  Check(av_image_copy_to_buffer(packed.data(), size, frame.data, frame.linesize, format,
                                frame.width, frame.height, 1),
        "cannot hash a frame");
  uint8_t digest[16];
  av_md5_sum(digest, packed.data(), size);
  std::fprintf(file_.get(), "%" PRId64 ", ", frame.pts);
  for (uint8_t byte : digest) std::fprintf(file_.get(), "%02x", byte);
  std::fputc('\n', file_.get());
}

}  // namespace vidforge
