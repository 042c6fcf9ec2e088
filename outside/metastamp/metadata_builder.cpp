#include "outside/metastamp/metadata_builder.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "outside/metastamp/amf0.h"
#include "outside/metastamp/error.h"
#include "outside/metastamp/flv_format.h"
#include "outside/metastamp/frame_rate.h"

namespace metastamp {

namespace {

struct Timing {
  double duration = 0;    // seconds
  double frame_rate = 0;  // frames per second
  double last_timestamp = 0;
};

double Seconds(double milliseconds) {
  return milliseconds / 1000.0;
}

// From the first frame to the end of the last one, whichever stream ends later.
Timing TimingOf(const FlvSurvey& survey) {
  Timing timing;
  const FrameTimes& video = survey.video_frames;
  const FrameTimes& audio = survey.audio_frames;
  timing.frame_rate = EstimateFrameRate(video.count, video.last - video.first);
  double start = std::numeric_limits<double>::max();
  double end = 0;
  if (video.count > 0) {
    start = video.first;
    end = video.last + (timing.frame_rate > 0 ? 1000.0 / timing.frame_rate : 0);
  }
  if (audio.count > 0) {
    const double packet =
        audio.count > 1 ? double(audio.last - audio.first) / (audio.count - 1) : 0;
    start = std::min<double>(start, audio.first);
    end = std::max(end, audio.last + packet);
  }
  if (video.count + audio.count > 0) {
    timing.duration = Seconds(std::round(end - start));
    timing.last_timestamp = Seconds(std::max(video.last, audio.last));
  }
  return timing;
}

// Kilobits (of 1024 bits) per second, as FLV players read the data rates.
double DataRate(uint64_t bytes, double duration) {
  return duration > 0 ? bytes * 8.0 / 1024.0 / duration : 0;
}

// A property that fills `bytes` with spaces: what an onMetaData written in place leaves of the
// old one's room. It is AMF data, so readers skip it like any property they do not know; it is
// an array of short strings because common readers refuse strings of 256 bytes or more.
constexpr char kPaddingKey[] = "padding";
constexpr size_t kPaddingHead = 2 + sizeof kPaddingKey - 1 + 5;  // key, array type and count
constexpr size_t kStringHead = 3;                                // type and 16-bit length
constexpr size_t kMaxPaddingString = kStringHead + 255;

bool CanPad(size_t bytes) {
  return bytes == 0 || bytes == kPaddingHead || bytes >= kPaddingHead + kStringHead;
}

void AddPadding(Amf0Writer& amf, size_t bytes) {
  amf.Key(kPaddingKey);
  const size_t strings_bytes = bytes - kPaddingHead;
  const size_t count = (strings_bytes + kMaxPaddingString - 1) / kMaxPaddingString;
  amf.BeginStrictArray(static_cast<uint32_t>(count));
  // Spread evenly: every string then has at least its head and at most 255 characters.
  for (size_t i = 0; i < count; ++i) {
    const size_t size = strings_bytes / count + (i < strings_bytes % count ? 1 : 0);
    amf.String(std::string(size - kStringHead, ' '));
  }
}

std::vector<uint8_t> BuildOnMetaData(const FlvSurvey& survey, uint64_t first_tag_position,
                                     uint64_t file_size, size_t padding_bytes = 0) {
  const Timing timing = TimingOf(survey);
  const bool video = survey.has_video;
  const bool audio = survey.has_audio && survey.audio_format;
  const FrameSize size =
      survey.frame_size.value_or(survey.metadata_frame_size.value_or(FrameSize{}));
  const auto& keyframes = survey.keyframes.entries();

  Amf0Writer amf;  // the properties; the array that holds them needs their count first
  uint32_t count = 0;
  auto key = [&](const char* name) {
    amf.Key(name);
    ++count;
  };
  auto number = [&](const char* name, double value) {
    key(name);
    amf.Number(value);
  };
  auto boolean = [&](const char* name, bool value) {
    key(name);
    amf.Boolean(value);
  };
  number("duration", timing.duration);
  if (video) {
    number("width", size.width);
    number("height", size.height);
    number("framerate", timing.frame_rate);
    number("videodatarate", DataRate(survey.video_payload_bytes, timing.duration));
    number("videocodecid", survey.video_codec.value_or(0));
  }
  if (audio) {
    number("audiodatarate", DataRate(survey.audio_payload_bytes, timing.duration));
    number("audiosamplerate", survey.audio_format->sample_rate);
    number("audiosamplesize", survey.audio_format->sample_bits);
    boolean("stereo", survey.audio_format->stereo);
    number("audiocodecid", survey.audio_format->codec);
  }
  number("filesize", static_cast<double>(file_size));
  number("lasttimestamp", timing.last_timestamp);
  number("lastkeyframetimestamp", Seconds(survey.last_keyframe_timestamp));
  boolean("hasVideo", video);
  boolean("hasAudio", audio);
  boolean("hasKeyframes", survey.has_keyframes);
  boolean("hasMetadata", true);
  boolean("canSeekToEnd", survey.last_video_frame_is_key);
  key("metadatacreator");
  amf.String(kMetadataCreator);
  key("keyframes");
  amf.BeginObject();
  amf.Key("times");
  amf.BeginStrictArray(static_cast<uint32_t>(keyframes.size()));
  for (const auto& keyframe : keyframes) amf.Number(Seconds(keyframe.timestamp));
  amf.Key("filepositions");
  amf.BeginStrictArray(static_cast<uint32_t>(keyframes.size()));
  for (const auto& keyframe : keyframes) {
    amf.Number(static_cast<double>(first_tag_position + keyframe.position));
  }
  amf.EndProperties();
  if (padding_bytes > 0) {
    ++count;
    AddPadding(amf, padding_bytes);
  }

  Amf0Writer tag;
  tag.String("onMetaData");
  tag.BeginEcmaArray(count);
  tag.Append(amf.bytes());
  tag.EndProperties();
  return tag.bytes();
}

uint64_t FirstTagPosition(size_t metadata_body_size) {
  return kFileHeaderSize + kTagSizeFieldSize + kTagHeaderSize + metadata_body_size +
         kTagSizeFieldSize;
}

}  // namespace

StampedLayout LayOutStampedFile(const FlvSurvey& survey) {
  const size_t body_size = BuildOnMetaData(survey, 0, 0).size();
  if (body_size > kMaxTagBodySize) throw Error("the new onMetaData would not fit in one tag");
  StampedLayout layout;
  layout.first_tag_position = FirstTagPosition(body_size);
  layout.file_size = layout.first_tag_position + survey.kept_bytes +
                     (survey.missing_last_size_field ? kTagSizeFieldSize : 0);
  layout.metadata_body = BuildOnMetaData(survey, layout.first_tag_position, layout.file_size);
  if (layout.metadata_body.size() != body_size)
    throw Error("internal error: onMetaData size changed");
  return layout;
}

std::optional<StampedLayout> LayOutInPlace(const FlvSurvey& survey, uint64_t first_tag_position,
                                           uint64_t file_size, size_t body_size) {
  StampedLayout layout;
  layout.first_tag_position = first_tag_position;
  layout.file_size = file_size;
  layout.metadata_body = BuildOnMetaData(survey, first_tag_position, file_size);
  const size_t unpadded = layout.metadata_body.size();
  if (unpadded == body_size) return layout;
  if (unpadded > body_size || !CanPad(body_size - unpadded)) return std::nullopt;
  layout.metadata_body =
      BuildOnMetaData(survey, first_tag_position, file_size, body_size - unpadded);
  if (layout.metadata_body.size() != body_size)
    throw Error("internal error: padded onMetaData has the wrong size");
  return layout;
}

}  // namespace metastamp
