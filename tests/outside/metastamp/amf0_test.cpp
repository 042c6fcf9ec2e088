// AMF0: what the writer writes reads back; damaged values end the reading instead of the
// program; the frame size an onMetaData claims is taken only when it is plausible.
#include "outside/metastamp/amf0.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>

#include "flv_bytes.h"
#include "outside/metastamp/script_tag.h"

using metastamp::Amf0Reader;
using metastamp::Amf0Type;
using metastamp::Amf0Value;
using metastamp::Amf0Writer;
using metastamp::FrameSize;
using metastamp_test::Bytes;

namespace {

std::map<std::string, Amf0Value> Properties(const Bytes& bytes, bool* complete = nullptr) {
  std::map<std::string, Amf0Value> found;
  Amf0Reader reader(bytes);
  const bool ok = reader.ReadProperties(
      [&](std::string_view key, const Amf0Value& value) { found[std::string(key)] = value; });
  if (complete) *complete = ok;
  return found;
}

TEST(Amf0, WrittenPropertiesReadBackAndNestedValuesAreSkipped) {
  Amf0Writer amf;
  amf.BeginEcmaArray(5);
  amf.Key("duration");
  amf.Number(12.5);
  amf.Key("keyframes");
  amf.BeginObject();
  amf.Key("times");
  amf.BeginStrictArray(2);
  amf.Number(0);
  amf.Number(1.5);
  amf.EndProperties();
  amf.Key("stereo");
  amf.Boolean(true);
  amf.Key("metadatacreator");
  amf.String("Reelwright metastamp");
  amf.Key("height");
  amf.Number(-0.0);
  amf.EndProperties();

  bool complete = false;
  const auto found = Properties(amf.bytes(), &complete);
  EXPECT_TRUE(complete);
  ASSERT_EQ(found.size(), 5u);
  EXPECT_EQ(found.at("duration").number, 12.5);
  EXPECT_EQ(found.at("keyframes").type, Amf0Type::kObject);
  EXPECT_TRUE(found.at("stereo").boolean);
  EXPECT_EQ(found.at("metadatacreator").text, "Reelwright metastamp");
  EXPECT_TRUE(std::signbit(found.at("height").number));
}

TEST(Amf0, SkipsEveryKindOfValueOtherWritersUse) {
  const Bytes bytes = {
      0x03,                                                                   // object
      0,    1, 'd', 0x0B, 0x42, 0x76, 0,   0, 0,   0,   0,    0, 0x00, 0x3C,  // date and time zone
      0,    1, 'n', 0x05,                                                     // null
      0,    1, 'u', 0x06,                                                     // undefined
      0,    1, 'r', 0x07, 0x00, 0x01,                                         // reference
      0,    1, 'l', 0x0C, 0,    0,    0,   2, 'h', 'i',                       // long string
      0,    1, 'x', 0x0F, 0,    0,    0,   1, '<',                            // XML document
      0,    1, 't', 0x10, 0,    1,    'C', 0, 1,   'a', 0x05, 0, 0,    0x09,  // typed object
      0,    1, 'e', 0x08, 0,    0,    0,   9, 0,   0,   0x09,     // ECMA array with a wrong count
      0,    1, 'w', 0x00, 0x40, 0x74, 0,   0, 0,   0,   0,    0,  // 320
      0,    0, 0x09};
  bool complete = false;
  const auto found = Properties(bytes, &complete);
  EXPECT_TRUE(complete);
  EXPECT_EQ(found.size(), 9u);
  EXPECT_EQ(found.at("l").text, "hi");
  EXPECT_EQ(found.at("w").number, 320);
}

TEST(Amf0, DamagedValuesEndTheReading) {
  struct Case {
    const char* name;
    Bytes bytes;
  };
  const Case cases[] = {
      {"cut number", {0x03, 0, 1, 'w', 0x00, 0x40, 0x74}},
      {"cut key", {0x03, 0, 9, 'w'}},
      {"missing end", {0x03, 0, 1, 'n', 0x05}},
      {"array count beyond the bytes", {0x03, 0, 1, 'a', 0x0A, 0xFF, 0xFF, 0xFF, 0xFF, 0x05}},
      {"AMF3 value", {0x03, 0, 1, 'a', 0x11, 0x01}},
      {"reserved movie clip", {0x03, 0, 1, 'a', 0x04}},
      {"not an object", {0x00, 0x40, 0x74, 0, 0, 0, 0, 0, 0}},
      {"nothing", {}},
  };
  for (const auto& c : cases) {
    bool complete = true;
    Properties(c.bytes, &complete);
    EXPECT_FALSE(complete) << c.name;
  }
}

TEST(Amf0, DeepNestingIsRefusedNotRecursedInto) {
  Bytes bytes = {0x03};
  for (int i = 0; i < 100000; ++i) bytes.insert(bytes.end(), {0, 1, 'o', 0x03});
  bool complete = true;
  Properties(bytes, &complete);
  EXPECT_FALSE(complete);
}

Bytes OnMetaData(const std::map<std::string, double>& numbers, const char* text_key = nullptr) {
  Amf0Writer amf;
  amf.String("onMetaData");
  amf.BeginEcmaArray(static_cast<uint32_t>(numbers.size()));
  if (text_key) {
    amf.Key(text_key);
    amf.String("320");
  }
  for (const auto& [key, value] : numbers) {
    amf.Key(key);
    amf.Number(value);
  }
  amf.EndProperties();
  return amf.bytes();
}

TEST(MetadataFrameSize, TakesPlausibleWidthAndHeightOnly) {
  using metastamp::MetadataFrameSize;
  EXPECT_EQ(MetadataFrameSize(OnMetaData({{"width", 320}, {"height", 240}})),
            (FrameSize{320, 240}));
  EXPECT_EQ(MetadataFrameSize(OnMetaData({{"width", 319.6}, {"height", 240.2}})),
            (FrameSize{320, 240}));
  EXPECT_FALSE(MetadataFrameSize(OnMetaData({{"width", 320}})));
  EXPECT_FALSE(MetadataFrameSize(OnMetaData({{"width", 0}, {"height", 240}})));
  EXPECT_FALSE(MetadataFrameSize(OnMetaData({{"width", -320}, {"height", 240}})));
  EXPECT_FALSE(MetadataFrameSize(OnMetaData({{"width", NAN}, {"height", 240}})));
  EXPECT_FALSE(MetadataFrameSize(OnMetaData({{"width", 1e300}, {"height", 240}})));
  EXPECT_FALSE(MetadataFrameSize(OnMetaData({{"height", 240}}, "width")));  // a string
  // A body cut after both values still gives them.
  Bytes cut = OnMetaData({{"height", 240}, {"width", 320}, {"zz", 1}});
  cut.resize(cut.size() - 8);
  EXPECT_EQ(MetadataFrameSize(cut), (FrameSize{320, 240}));
}

TEST(ScriptTag, RecognisesOnlyOnMetaData) {
  EXPECT_TRUE(metastamp::IsOnMetaData(OnMetaData({})));
  Amf0Writer other;
  other.String("onCuePoint");
  EXPECT_FALSE(metastamp::IsOnMetaData(other.bytes()));
  Amf0Writer longer;
  longer.String("onMetaDataX");
  EXPECT_FALSE(metastamp::IsOnMetaData(longer.bytes()));
  EXPECT_FALSE(metastamp::IsOnMetaData(Bytes{0x02, 0x00, 0x0A, 'o', 'n'}));
}

}  // namespace
