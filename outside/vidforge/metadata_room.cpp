#include "outside/vidforge/metadata_room.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace vidforge {
namespace {

constexpr double kSecondsPerKeyframe = 2;
constexpr size_t kBytesPerKeyframe = 2 * 9;  // a time and a position, AMF numbers of 9 bytes
constexpr double kKeyframeMargin = 1.5;
constexpr size_t kOtherProperties = 1024;
// About four hours of key frames; a longer or absurd length falls back to a copy.
constexpr size_t kMaxRoom = 256 * 1024;

constexpr char kPaddingKey[] = "padding";
// One padding property: a 2-byte key length, the key, the type and a 16-bit text length.
constexpr size_t kPropertyOverhead = 2 + sizeof kPaddingKey - 1 + 1 + 2;
// Common FLV readers refuse strings of 256 bytes or more.
constexpr size_t kMaxText = 255;

}  // namespace

size_t MetadataRoomFor(std::optional<double> duration_seconds) {
  if (!duration_seconds || !std::isfinite(*duration_seconds) || *duration_seconds <= 0) return 0;
  const double keyframes = std::ceil(*duration_seconds / kSecondsPerKeyframe) + 1;
  const double room = kOtherProperties + keyframes * kBytesPerKeyframe * kKeyframeMargin;
  return static_cast<size_t>(std::min(room, static_cast<double>(kMaxRoom)));
}

void ReserveMetadataRoom(OutputFile& output, size_t bytes) {
  // The muxer writes each entry as a string property, in the order given; texts stay short
  // enough for every reader, so the room takes many, under distinct keys.
  for (int part = 0;; ++part) {
    const std::string key = part == 0 ? kPaddingKey : kPaddingKey + std::to_string(part);
    const size_t overhead = kPropertyOverhead + (key.size() - (sizeof kPaddingKey - 1));
    if (bytes <= overhead) return;
    const size_t text = std::min(bytes - overhead, kMaxText);
    output.SetMetadata(key, std::string(text, ' '));
    bytes -= overhead + text;
  }
}

}  // namespace vidforge
