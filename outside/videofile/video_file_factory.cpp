#include <algorithm>
#include <cctype>

#include "outside/videofile/ffmpeg_video_file.h"
#include "outside/videofile/video_file.h"

namespace videofile {

std::unique_ptr<IVideoFile> CreateVideoFile(std::string_view class_id) {
  const bool known = std::equal(class_id.begin(), class_id.end(), kVideoFileClassId.begin(),
                                kVideoFileClassId.end(), [](char a, char b) {
                                  return std::toupper(static_cast<unsigned char>(a)) ==
                                         std::toupper(static_cast<unsigned char>(b));
                                });
  if (!known) return nullptr;
  return std::make_unique<FfmpegVideoFile>();
}

}  // namespace videofile
