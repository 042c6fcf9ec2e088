#include "outside/videofile/compressor_list.h"

#include <algorithm>
#include <cctype>

extern "C" {
#include <libavformat/avformat.h>
}

namespace videofile {
namespace {

// Device encoders (VAAPI, NVENC, Quick Sync, V4L2) fail on machines without the device.
constexpr int kUnusableCapabilities =
    AV_CODEC_CAP_HARDWARE | AV_CODEC_CAP_HYBRID | AV_CODEC_CAP_EXPERIMENTAL;

// The code as four lower-case characters; empty when the tag is not printable text.
std::string FourCharacterCode(unsigned tag) {
  std::string code;
  for (int shift = 0; shift < 32; shift += 8) {
    const auto character = static_cast<unsigned char>((tag >> shift) & 0xFF);
    if (!std::isprint(character)) return {};
    code += static_cast<char>(std::tolower(character));
  }
  return code;
}

std::vector<Compressor> FindAviCompressors() {
  const AVOutputFormat* avi = av_guess_format("avi", nullptr, nullptr);
  const AVCodecTag* const riff_video_tags[] = {avformat_get_riff_video_tags(), nullptr};
  std::vector<Compressor> compressors;
  if (avi == nullptr) return compressors;

  void* iteration = nullptr;
  while (const AVCodec* codec = av_codec_iterate(&iteration)) {
    if (codec->type != AVMEDIA_TYPE_VIDEO || !av_codec_is_encoder(codec)) continue;
    if (codec->capabilities & kUnusableCapabilities) continue;
    if (avformat_query_codec(avi, codec->id, FF_COMPLIANCE_NORMAL) != 1) continue;
    const std::string code = FourCharacterCode(av_codec_get_tag(riff_video_tags, codec->id));
    if (code.empty() || code == "    ") continue;
    const char* description = codec->long_name != nullptr ? codec->long_name : codec->name;
    compressors.push_back({code + " " + description + " (" + codec->name + ")", codec});
  }
  std::sort(compressors.begin(), compressors.end(),
            [](const Compressor& a, const Compressor& b) { return a.name < b.name; });
  return compressors;
}

}  // namespace

const std::vector<Compressor>& AviCompressors() {
  static const std::vector<Compressor> compressors = FindAviCompressors();
  return compressors;
}

}  // namespace videofile
