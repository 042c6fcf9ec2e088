#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "outside/videofile/video_file.h"

namespace {

using videofile::CreateVideoFile;
using videofile::Failed;
using videofile::kVideoFileClassId;
using videofile::Succeeded;

std::vector<std::string> CompressorNames(videofile::IVideoFile& control) {
  std::int32_t count = 0;
  EXPECT_TRUE(Succeeded(control.VideoCompressorCount(count)));
  std::vector<std::string> names;
  for (std::int32_t index = 1; index <= count; ++index) {
    std::string name;
    EXPECT_TRUE(Succeeded(control.SelectVideoCompressor(index)));
    EXPECT_TRUE(Succeeded(control.VideoCompressorName(name)));
    names.push_back(name);
  }
  return names;
}

TEST(VideoFileFactory, MakesAControlOnlyForItsClassIdentifier) {
  EXPECT_NE(CreateVideoFile("{8A4B99CF-4AA2-4BDE-8244-F661FBD24306}"), nullptr);
  EXPECT_NE(CreateVideoFile("{8a4b99cf-4aa2-4bde-8244-f661fbd24306}"), nullptr);
  for (const char* unknown :
       {"", "{00000000-0000-0000-0000-000000000000}", "8A4B99CF-4AA2-4BDE-8244-F661FBD24306",
        "{8A4B99CF-4AA2-4BDE-8244-F661FBD24306}x"}) {
    EXPECT_EQ(CreateVideoFile(unknown), nullptr) << unknown;
  }
}

TEST(VideoCompressors, NamesStartWithALowerCaseCodeAndOneOfThemIsMp42) {
  auto control = CreateVideoFile(kVideoFileClassId);
  const std::vector<std::string> names = CompressorNames(*control);
  ASSERT_FALSE(names.empty());
  const std::regex code_and_blank("^[a-z0-9 ]{4} .+");
  int mp42_entries = 0;
  for (const std::string& name : names) {
    EXPECT_TRUE(std::regex_search(name, code_and_blank)) << name;
    if (name.rfind("mp42 ", 0) == 0) ++mp42_entries;
  }
  EXPECT_EQ(mp42_entries, 1);
  // A second instance lists the same compressors at the same indexes.
  auto other = CreateVideoFile(kVideoFileClassId);
  EXPECT_EQ(CompressorNames(*other), names);
}

TEST(VideoCompressors, SelectionOutsideOneToCountFailsAndKeepsTheLastOne) {
  auto control = CreateVideoFile(kVideoFileClassId);
  std::string name;
  EXPECT_TRUE(Failed(control->VideoCompressorName(name)));

  std::int32_t count = 0;
  ASSERT_TRUE(Succeeded(control->VideoCompressorCount(count)));
  ASSERT_TRUE(Succeeded(control->SelectVideoCompressor(count)));
  std::string last;
  ASSERT_TRUE(Succeeded(control->VideoCompressorName(last)));
  for (std::int32_t bad : {0, -1, count + 1}) {
    EXPECT_TRUE(Failed(control->SelectVideoCompressor(bad))) << bad;
  }
  ASSERT_TRUE(Succeeded(control->VideoCompressorName(name)));
  EXPECT_EQ(name, last);
}

}  // namespace
