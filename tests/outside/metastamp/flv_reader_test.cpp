// The FLV reader on hand-made files: which tags the new file keeps, where its key frames land,
// cut and damaged files, and how little the size probe reads.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <string>

#include "flv_bytes.h"
#include "outside/metastamp/amf0.h"
#include "outside/metastamp/byte_source.h"
#include "outside/metastamp/byte_window.h"
#include "outside/metastamp/error.h"
#include "outside/metastamp/flv_survey.h"
#include "outside/metastamp/flv_tag_reader.h"
#include "outside/metastamp/keyframe_index.h"
#include "outside/metastamp/metadata_builder.h"
#include "outside/metastamp/size_probe.h"
#include "outside/metastamp/size_report.h"
#include "outside/metastamp/stamped_writer.h"

using metastamp::FlvSurvey;
using metastamp::FrameSize;
using metastamp::MemorySource;
using metastamp_test::Bytes;
using metastamp_test::FlvBuilder;
using metastamp_test::H263Picture;

namespace {

struct Stamped {
  FlvSurvey survey;
  metastamp::StampedLayout layout;
  Bytes bytes;
};

Stamped Stamp(const Bytes& input) {
  MemorySource source(input);
  Stamped result;
  result.survey = metastamp::SurveyFlv(source);
  result.layout = metastamp::LayOutStampedFile(result.survey);
  const int fd = ::memfd_create("stamped", MFD_CLOEXEC);
  metastamp::WriteStampedFlv(source, result.survey, result.layout, fd);
  metastamp::FileSource output(fd);
  result.bytes.resize(output.Size());
  output.ReadAt(0, result.bytes);
  ::close(fd);
  return result;
}

struct TagSeen {
  uint64_t offset;
  uint8_t type;
  uint8_t first_byte;
};

std::vector<TagSeen> Tags(const Bytes& file) {
  MemorySource source(file);
  metastamp::ByteWindow window(source, 4096);
  metastamp::FlvTagReader reader(window);
  std::vector<TagSeen> tags;
  while (const auto tag = reader.Next()) {
    const auto body = reader.Body(*tag, 1);
    tags.push_back({tag->offset, tag->type, body.empty() ? uint8_t{0} : body[0]});
  }
  return tags;
}

std::map<std::string, double> MetadataNumbers(const Bytes& body) {
  std::map<std::string, double> numbers;
  metastamp::Amf0Reader reader(body);
  reader.Read();  // the name
  reader.ReadProperties([&](std::string_view key, const metastamp::Amf0Value& value) {
    if (value.type == metastamp::Amf0Type::kNumber) numbers[std::string(key)] = value.number;
  });
  return numbers;
}

TEST(Stamping, ReplacesEveryOnMetaDataAndKeepsTheOtherTags) {
  const Bytes input = FlvBuilder()
                          .Metadata(0, 320, 240)
                          .Video(0, 1, H263Picture(200, 100))
                          .Script("onCuePoint")
                          .Audio(0)
                          .Metadata(40, 640, 480)
                          .Video(40, 2, H263Picture(200, 100))
                          .Video(80, 1, H263Picture(200, 100))
                          .bytes();
  const Stamped stamped = Stamp(input);

  const auto tags = Tags(stamped.bytes);
  ASSERT_EQ(tags.size(), 6u);
  EXPECT_EQ(tags[0].offset, 13u);
  EXPECT_EQ(tags[0].type, 18);
  const std::vector<uint8_t> rest = {9, 18, 8, 9, 9};
  for (size_t i = 0; i < rest.size(); ++i) EXPECT_EQ(tags[i + 1].type, rest[i]) << i;
  EXPECT_EQ(stamped.bytes.size(), stamped.layout.file_size);
  EXPECT_EQ(stamped.bytes[4], 0x05);  // audio and video

  // Each key frame position points at a key frame's tag in the new file.
  const auto& keyframes = stamped.survey.keyframes.entries();
  ASSERT_EQ(keyframes.size(), 2u);
  for (const auto& keyframe : keyframes) {
    const uint64_t position = stamped.layout.first_tag_position + keyframe.position;
    EXPECT_EQ(stamped.bytes[position], 9);
    EXPECT_EQ(stamped.bytes[position + 11] >> 4, 1);
  }
  EXPECT_EQ(stamped.layout.first_tag_position + keyframes[1].position, tags[5].offset);

  const auto numbers = MetadataNumbers(stamped.layout.metadata_body);
  EXPECT_EQ(numbers.at("width"), 200);  // the pictures, not the old claims
  EXPECT_EQ(numbers.at("height"), 100);
  EXPECT_EQ(numbers.at("filesize"), static_cast<double>(stamped.bytes.size()));
  EXPECT_EQ(numbers.at("framerate"), 25);

  EXPECT_EQ(Stamp(stamped.bytes).bytes, stamped.bytes);  // a second run changes nothing
}

// In place, the new onMetaData fills the old one's room exactly, with the properties a copy
// would get and a padding every reader can parse, or it is refused and the file copied.
TEST(StampingInPlace, FillsTheRoomExactlyOrRefusesIt) {
  const Bytes input = FlvBuilder()
                          .Video(0, 1, H263Picture(200, 100))
                          .Audio(0)
                          .Video(40, 2, H263Picture(200, 100))
                          .Video(2000, 1, H263Picture(200, 100))
                          .bytes();
  MemorySource source(input);
  const metastamp::FlvSurvey survey = metastamp::SurveyFlv(source);
  const size_t unpadded = metastamp::LayOutStampedFile(survey).metadata_body.size();
  constexpr uint64_t kFirstTag = 4000;  // where the tags lie behind the roomy onMetaData
  constexpr uint64_t kFileSize = 123456;

  for (size_t room : {unpadded - 1, unpadded + 1, unpadded + 13, unpadded + 15, unpadded + 16}) {
    EXPECT_FALSE(metastamp::LayOutInPlace(survey, kFirstTag, kFileSize, room)) << room;
  }
  for (size_t room : {unpadded, unpadded + 14, unpadded + 17, unpadded + 275, unpadded + 276,
                      unpadded + 300, unpadded + 100000}) {
    SCOPED_TRACE(room);
    const auto layout = metastamp::LayOutInPlace(survey, kFirstTag, kFileSize, room);
    ASSERT_TRUE(layout);
    ASSERT_EQ(layout->metadata_body.size(), room);
    metastamp::Amf0Reader reader(layout->metadata_body);
    reader.Read();  // the name
    EXPECT_TRUE(reader.ReadProperties([](std::string_view, const metastamp::Amf0Value&) {}));
    // The padding's strings stay short enough for every reader (FFmpeg's takes 255 bytes).
    size_t run = 0, longest_run = 0;
    for (const uint8_t byte : layout->metadata_body) {
      run = byte == ' ' ? run + 1 : 0;
      longest_run = std::max(longest_run, run);
    }
    EXPECT_LE(longest_run, 255u);
    const auto numbers = MetadataNumbers(layout->metadata_body);
    EXPECT_EQ(numbers.at("filesize"), kFileSize);
    EXPECT_EQ(numbers.at("width"), 200);
    EXPECT_EQ(numbers.at("lastkeyframetimestamp"), 2);
  }
}

TEST(Stamping, TakesTheSizeFromTheOldMetadataOnlyWhenThePicturesGiveNone) {
  const Bytes unknown_codec = {0x1C, 1, 2, 3};
  const Bytes input =
      FlvBuilder().Metadata(0, 320, 240).Tag(9, 0, unknown_codec).Tag(9, 40, unknown_codec).bytes();
  const auto numbers = MetadataNumbers(Stamp(input).layout.metadata_body);
  EXPECT_EQ(numbers.at("width"), 320);
  EXPECT_EQ(numbers.at("height"), 240);
  EXPECT_EQ(numbers.at("videocodecid"), 12);
}

TEST(Stamping, GivesTheLastTagTheSizeFieldItLacks) {
  Bytes input = FlvBuilder().Video(0, 1, H263Picture(64, 48)).Audio(20).bytes();
  const Bytes complete_tail(input.end() - 4, input.end());
  input.resize(input.size() - 3);  // one byte of the field is left
  const Stamped stamped = Stamp(input);
  EXPECT_EQ(stamped.survey.missing_last_size_field, 11u + 2u);
  EXPECT_TRUE(std::equal(complete_tail.begin(), complete_tail.end(), stamped.bytes.end() - 4));
  EXPECT_EQ(stamped.bytes.size(), stamped.layout.file_size);
}

TEST(Stamping, DropsExtraHeaderBytesAndFlagsWhatTheFileHolds) {
  const Bytes input = FlvBuilder(/*header_size=*/15).Video(0, 1, H263Picture(64, 48)).bytes();
  const Stamped stamped = Stamp(input);
  EXPECT_EQ(stamped.bytes[4], 0x01);  // video only, though the old header said audio too
  EXPECT_EQ(stamped.bytes[8], 9);
  const auto tags = Tags(stamped.bytes);
  ASSERT_EQ(tags.size(), 2u);
  EXPECT_EQ(tags[1].first_byte, 0x12);
}

TEST(Stamping, RefusesFilesThatAreNoFlvOrAreCut) {
  const Bytes good = FlvBuilder().Video(0, 1, H263Picture(64, 48)).Audio(20).bytes();
  struct Case {
    const char* name;
    Bytes bytes;
    std::string reason;
  };
  Bytes cut_body(good.begin(), good.end() - 6);
  Bytes cut_header(good.begin(), good.begin() + 13 + 5);
  Bytes absurd = FlvBuilder().bytes();
  absurd.insert(absurd.end(), {9, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0x12, 0, 0});
  Bytes far_header = good;
  far_header[5] = 0x7F;
  Bytes version = good;
  version[3] = 2;
  const Case cases[] = {
      {"empty", {}, "empty file, not an FLV file"},
      {"other", {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'A', 'V', 'I'}, "not an FLV file"},
      {"short header", {'F', 'L', 'V', 1}, "truncated: the file ends inside the FLV header"},
      {"far header", far_header, "truncated: the file ends inside the FLV header"},
      {"version", version, "unsupported FLV version 2"},
      {"cut body", cut_body, "truncated or damaged: the tag at byte"},
      {"cut tag header", cut_header, "truncated: the file ends inside the tag at byte 13"},
      {"absurd size", absurd, "announces 16777215 bytes, but the file ends at byte 27"},
  };
  for (const auto& c : cases) {
    MemorySource source(c.bytes);
    try {
      metastamp::SurveyFlv(source);
      ADD_FAILURE() << c.name << ": accepted";
    } catch (const metastamp::Error& error) {
      EXPECT_NE(std::string(error.what()).find(c.reason), std::string::npos)
          << c.name << ": " << error.what();
    }
  }
}

// A file that claims to be a gigabyte but has only its first bytes, and notes how far it is read.
class HugeSource : public metastamp::ByteSource {
 public:
  explicit HugeSource(Bytes start) : start_(std::move(start)) {}
  uint64_t Size() const override { return uint64_t{1} << 30; }
  size_t ReadAt(uint64_t offset, std::span<uint8_t> buffer) override {
    furthest = std::max(furthest, offset + buffer.size());
    std::fill(buffer.begin(), buffer.end(), 0);
    if (offset < start_.size()) {
      const size_t count = std::min<uint64_t>(buffer.size(), start_.size() - offset);
      std::copy_n(start_.begin() + static_cast<long>(offset), count, buffer.begin());
    }
    return buffer.size();
  }
  uint64_t furthest = 0;

 private:
  Bytes start_;
};

TEST(SizeProbe, ReadsOnlyTheStartOfAHugeFile) {
  HugeSource source(
      FlvBuilder().Metadata(0, 640, 480).Audio(0).Video(0, 1, H263Picture(160, 120)).bytes());
  EXPECT_EQ(metastamp::ProbeFrameSize(source), (FrameSize{160, 120}));
  EXPECT_LT(source.furthest, 64u * 1024);
}

TEST(SizeProbe, TrustsPicturesBeforeTheMetadataClaim) {
  const Bytes unknown_codec = {0x1C, 1, 2, 3};
  struct Case {
    const char* name;
    Bytes file;
    std::optional<FrameSize> size;
  };
  Bytes cut = FlvBuilder().Video(0, 1, H263Picture(160, 120)).Video(40, 2, {1, 2, 3, 4}).bytes();
  cut.resize(cut.size() - 8);
  const Case cases[] = {
      {"pictures", FlvBuilder().Metadata(0, 640, 480).Video(0, 1, H263Picture(160, 120)).bytes(),
       FrameSize{160, 120}},
      {"claim", FlvBuilder().Metadata(0, 640, 480).Tag(9, 0, unknown_codec).bytes(),
       FrameSize{640, 480}},
      {"cut after the first picture", cut, FrameSize{160, 120}},
      {"neither", FlvBuilder().Audio(0).Tag(9, 0, unknown_codec).bytes(), std::nullopt},
  };
  for (const auto& c : cases) {
    MemorySource source(c.file);
    EXPECT_EQ(metastamp::ProbeFrameSize(source), c.size) << c.name;
  }
}

TEST(KeyframeIndex, ThinsOutEvenlyToStayBounded) {
  metastamp::KeyframeIndex index;
  const uint64_t count = 3 * metastamp::KeyframeIndex::kMaxEntries;
  for (uint64_t i = 0; i < count; ++i) index.Add(static_cast<uint32_t>(i), i * 100);
  const auto& entries = index.entries();
  EXPECT_LT(entries.size(), metastamp::KeyframeIndex::kMaxEntries);
  EXPECT_GT(entries.size(), metastamp::KeyframeIndex::kMaxEntries / 2);
  for (size_t i = 0; i < entries.size(); ++i) {
    EXPECT_EQ(entries[i].timestamp, i * 4) << i;  // every fourth key frame
    if (entries[i].timestamp != i * 4) break;
  }
}

TEST(SizeReport, NamesTheReportAfterThePathUpToItsLastDot) {
  const std::pair<const char*, const char*> cases[] = {
      {"/out/clip.flv", "/out/clip.xml"},
      {"/out/my.flv.old", "/out/my.flv.xml"},
      {"/out/clip", "/out/clip.xml"},
      {"/out.d/clip", "/out.xml"},  // the last dot of the whole path, as the app reads it
      {".flv", ".flv.xml"},
      {"clip.", "clip.xml"},
  };
  for (const auto& [flv, xml] : cases) EXPECT_EQ(metastamp::SizeReportPath(flv), xml) << flv;
  EXPECT_EQ(metastamp::SizeReportXml({320, 240}),
            "<?xml version=\"1.0\"?>\n<root>\n  <width>320</width>\n  <height>240</height>\n"
            "</root>\n");
}

}  // namespace
