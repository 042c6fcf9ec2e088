// One pass over a whole FLV that gathers everything its new onMetaData says and where its tags
// lie: tag headers are read, bodies skipped except for the few bytes that tell the frame type,
// the codecs and, in the first frames, the picture size.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "outside/metastamp/audio_format.h"
#include "outside/metastamp/byte_source.h"
#include "outside/metastamp/keyframe_index.h"
#include "outside/metastamp/picture_size.h"
#include "outside/metastamp/tag_heads.h"

namespace metastamp {

struct ByteRange {
  uint64_t begin = 0;
  uint64_t end = 0;
  friend bool operator==(const ByteRange&, const ByteRange&) = default;
};

// The frames of one stream (tags that carry a picture or sound, not codec set-up).
struct FrameTimes {
  uint64_t count = 0;
  uint32_t first = 0;  // milliseconds
  uint32_t last = 0;
  void Add(uint32_t timestamp);
  friend bool operator==(const FrameTimes&, const FrameTimes&) = default;
};

struct FlvSurvey {
  bool has_video = false;  // any video tag with a body
  bool has_audio = false;
  std::optional<uint8_t> video_codec;  // of the first video tag
  FrameTimes video_frames;
  FrameTimes audio_frames;
  uint64_t video_payload_bytes = 0;  // tag bodies without their first byte
  uint64_t audio_payload_bytes = 0;
  std::optional<FrameSize> frame_size;           // from the pictures
  std::optional<FrameSize> metadata_frame_size;  // what an old onMetaData claimed
  std::optional<AudioFormat> audio_format;

  bool has_keyframes = false;
  uint32_t last_keyframe_timestamp = 0;
  bool last_video_frame_is_key = false;
  KeyframeIndex keyframes;

  // The old onMetaData tags (all dropped), and the body of the first of them: when it is the
  // only one and comes first, it may hold the new one in place.
  uint64_t old_metadata_count = 0;
  std::optional<ByteRange> first_old_metadata_body;

  // The tags the new file keeps, in order: everything after the header but old onMetaData.
  std::vector<ByteRange> kept;
  uint64_t kept_bytes = 0;
  // The last tag lacks its trailing size field (the file ends right after its body): the new
  // file gets one with this value.
  std::optional<uint32_t> missing_last_size_field;

  bool has_media() const { return has_video || has_audio; }
  friend bool operator==(const FlvSurvey&, const FlvSurvey&) = default;
};

// Reads the whole file; throws Error when it is no FLV or is cut inside a tag. A large file's
// tags are found on several threads first (`plan`); the survey is the same either way.
FlvSurvey SurveyFlv(ByteSource& source, const TagScanPlan& plan = DefaultTagScanPlan());

}  // namespace metastamp
