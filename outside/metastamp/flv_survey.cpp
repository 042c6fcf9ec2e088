#include "outside/metastamp/flv_survey.h"

#include <algorithm>

#include "outside/metastamp/byte_window.h"
#include "outside/metastamp/error.h"
#include "outside/metastamp/flv_format.h"
#include "outside/metastamp/flv_tag_reader.h"
#include "outside/metastamp/script_tag.h"

namespace metastamp {

namespace {

constexpr size_t kWindowSize = 256 * 1024;
constexpr uint64_t kMaxSizeAttempts = 1000;  // video tags tried for a picture size
constexpr size_t kMaxKeptRanges = 4096;

class Survey {
 public:
  Survey(ByteSource& source, const TagScanPlan& plan)
      : window_(source, kWindowSize), reader_(window_) {
    reader_.UseHeads(ScanTagHeads(source, reader_.first_tag_offset(), plan));
  }

  FlvSurvey Run() {
    range_begin_ = reader_.first_tag_offset();
    std::optional<FlvTag> last_kept;
    while (const auto tag = reader_.Next()) {
      if (tag->type == kTagScript && IsOldMetadata(*tag)) {
        Drop(*tag);
        continue;
      }
      if (tag->type == kTagVideo) Video(*tag);
      if (tag->type == kTagAudio) Audio(*tag);
      last_kept = tag;
    }
    uint64_t range_end = window_.Size();
    if (last_kept && !last_kept->size_field_complete) {
      range_end = last_kept->body_end();
      result_.missing_last_size_field =
          static_cast<uint32_t>(kTagHeaderSize + last_kept->body_size);
    }
    CloseRange(range_end);
    return std::move(result_);
  }

 private:
  uint64_t KeptPosition(uint64_t offset) const {
    return result_.kept_bytes + (offset - range_begin_);
  }

  void CloseRange(uint64_t end) {
    if (end <= range_begin_) return;
    if (result_.kept.size() == kMaxKeptRanges) {
      throw Error("too many onMetaData tags scattered through the file to replace them");
    }
    result_.kept.push_back({range_begin_, end});
    result_.kept_bytes += end - range_begin_;
  }

  void Drop(const FlvTag& tag) {
    if (result_.old_metadata_count++ == 0)
      result_.first_old_metadata_body = ByteRange{tag.body_offset(), tag.body_end()};
    CloseRange(tag.offset);
    range_begin_ = tag.end;
  }

  bool IsOldMetadata(const FlvTag& tag) {
    if (tag.filtered || !IsOnMetaData(reader_.Body(tag, kScriptNameBytes))) return false;
    if (!result_.metadata_frame_size) {
      result_.metadata_frame_size = MetadataFrameSize(reader_.Body(tag, kMetadataSearchBytes));
    }
    return true;
  }

  void Video(const FlvTag& tag) {
    if (tag.body_size == 0) return;
    result_.has_video = true;
    if (tag.filtered) return;
    const auto head = reader_.Body(tag, 2);
    const uint8_t frame_type = head[0] >> 4;
    const uint8_t codec = head[0] & 0x0F;
    const bool avc_setup = codec == kCodecAvc && head.size() >= 2 && head[1] != kAvcNalu;
    if (!result_.video_codec) result_.video_codec = codec;
    result_.video_payload_bytes += tag.body_size - 1;

    if (!result_.frame_size && size_attempts_ < kMaxSizeAttempts) {
      ++size_attempts_;
      result_.frame_size = FrameSizeOfVideoTag(reader_.Body(tag, kPictureHeaderBytes));
    }

    // Like other FLV tools, every tag marked as a key frame is a seek point (for H.264 that
    // puts the first one on the sequence header, ahead of the picture), one per timestamp.
    const bool key = frame_type == kFrameKey;
    if (key) {
      if (!result_.has_keyframes || tag.timestamp != result_.last_keyframe_timestamp) {
        result_.keyframes.Add(tag.timestamp, KeptPosition(tag.offset));
      }
      result_.has_keyframes = true;
      result_.last_keyframe_timestamp = tag.timestamp;
    }
    result_.last_video_frame_is_key = key;

    if (frame_type != kFrameCommand && !avc_setup) result_.video_frames.Add(tag.timestamp);
  }

  void Audio(const FlvTag& tag) {
    if (tag.body_size == 0) return;
    result_.has_audio = true;
    if (tag.filtered) return;
    const auto head = reader_.Body(tag, 2);
    if (!result_.audio_format) result_.audio_format = AudioFormatOfTag(head);
    const bool aac_setup =
        (head[0] >> 4) == kSoundAac && head.size() >= 2 && head[1] == kAacSequenceHeader;
    result_.audio_payload_bytes += tag.body_size - 1;
    if (!aac_setup) {
      result_.audio_frames.Add(tag.timestamp);
      return;
    }
    if (aac_config_read_ || result_.audio_format->codec != kSoundAac) return;
    aac_config_read_ = true;
    if (const auto config = AacConfigOfTag(reader_.Body(tag, 16))) {
      result_.audio_format->sample_rate = config->sample_rate;
      result_.audio_format->stereo = config->stereo;
    }
  }

  ByteWindow window_;
  FlvTagReader reader_;
  FlvSurvey result_;
  uint64_t range_begin_ = 0;
  uint64_t size_attempts_ = 0;
  bool aac_config_read_ = false;
};

}  // namespace

void FrameTimes::Add(uint32_t timestamp) {
  if (count++ == 0) {
    first = last = timestamp;
    return;
  }
  first = std::min(first, timestamp);
  last = std::max(last, timestamp);
}

FlvSurvey SurveyFlv(ByteSource& source, const TagScanPlan& plan) {
  return Survey(source, plan).Run();
}

}  // namespace metastamp
