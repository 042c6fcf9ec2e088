#include "outside/metastamp/size_probe.h"

#include "outside/metastamp/byte_window.h"
#include "outside/metastamp/error.h"
#include "outside/metastamp/flv_format.h"
#include "outside/metastamp/flv_tag_reader.h"
#include "outside/metastamp/script_tag.h"

namespace metastamp {

namespace {
constexpr size_t kWindowSize = 16 * 1024;
// Encoders interleave audio and video by time, so a video that has pictures shows one within
// the first seconds: a thousand tags is tens of seconds of sound.
constexpr int kMaxTags = 1000;
}  // namespace

std::optional<FrameSize> ProbeFrameSize(ByteSource& source) {
  ByteWindow window(source, kWindowSize);
  FlvTagReader reader(window);
  std::optional<FlvTag> metadata;  // read only when the pictures say nothing
  std::optional<TruncatedError> cut;
  try {
    for (int visited = 0; visited < kMaxTags; ++visited) {
      const auto tag = reader.Next();
      if (!tag) break;
      if (tag->filtered || tag->body_size == 0) continue;
      if (tag->type == kTagVideo) {
        if (const auto size = FrameSizeOfVideoTag(reader.Body(*tag, kPictureHeaderBytes))) {
          return size;
        }
      } else if (tag->type == kTagScript && !metadata &&
                 IsOnMetaData(reader.Body(*tag, kScriptNameBytes))) {
        metadata = tag;
      }
    }
  } catch (const TruncatedError& error) {
    cut = error;  // the tags before the cut have been looked at; nothing after it can be
  }
  const auto claimed =
      metadata ? MetadataFrameSize(reader.Body(*metadata, kMetadataSearchBytes)) : std::nullopt;
  if (!claimed && cut) throw *cut;  // the cut is why there is no answer
  return claimed;
}

}  // namespace metastamp
