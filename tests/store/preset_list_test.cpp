#include "store/preset_list.h"

#include <gtest/gtest.h>

#include "store/profile_file.h"

namespace store {
namespace {

EncodingPreset Named(const QString& name, int resolution = 0) {
  EncodingPreset preset;
  preset.name = name;
  preset.resolution = resolution;
  return preset;
}

PresetList ThreePresets() {
  return {Named("Web", 1), Named("Phone", 2), Named("Big", 3)};
}

TEST(PresetListTest, ANewRecordHoldsTheStartValues) {
  const EncodingPreset preset;
  EXPECT_EQ(preset.name, "Custom new");
  EXPECT_EQ(
      (std::array{preset.resolution, preset.frame_rate, preset.video_bitrate, preset.enabled_audio,
                  preset.audio_bitrate, preset.sampling_rate, preset.mono}),
      (std::array{1, 3, 0, 1, 3, 0, 1}));
}

TEST(PresetListTest, DeletingChoosesTheNextRowOrTheNewLast) {
  struct Case {
    PresetList presets;
    int row;
    std::optional<int> chosen;
    QStringList names_after;
  };
  const Case cases[] = {
      {ThreePresets(), 1, 1, {"Web", "Big"}},  // the former third moves up and is chosen
      {ThreePresets(), 0, 0, {"Phone", "Big"}},
      {ThreePresets(), 2, 1, {"Web", "Phone"}},                     // the last went: the new last
      {{Named("Only")}, 0, -1, {}},                                 // empty list: no row
      {ThreePresets(), -1, std::nullopt, {"Web", "Phone", "Big"}},  // nothing chosen
      {ThreePresets(), 3, std::nullopt, {"Web", "Phone", "Big"}},
  };
  for (Case c : cases) {
    EXPECT_EQ(DeletePresetAt(c.presets, c.row), c.chosen) << c.row;
    EXPECT_EQ(PresetNames(c.presets), c.names_after) << c.row;
  }
}

TEST(PresetListTest, LookupIgnoresCaseAndTakesTheFirstExactMatch) {
  const PresetList presets{Named("Web"), Named("Web HD"), Named("WEB")};
  EXPECT_EQ(FindPresetByName(presets, "web"), 0);
  EXPECT_EQ(FindPresetByName(presets, "web hd"), 1);
  EXPECT_EQ(FindPresetByName(presets, "We"), -1);
  EXPECT_EQ(FindPresetByName(presets, "Web "), -1);
  EXPECT_EQ(FindPresetByName({}, "Web"), -1);
}

TEST(PresetListTest, AProjectPresetReplacesItsNamesakeAtTheTop) {
  PresetList presets = ThreePresets();
  EXPECT_EQ(PlaceProjectPreset(presets, Named("", 7), "big"), (PresetPlacement{2, 0}));
  EXPECT_EQ(PresetNames(presets), (QStringList{"big", "Web", "Phone"}));
  EXPECT_EQ(presets[0].resolution, 7);

  EXPECT_EQ(PlaceProjectPreset(presets, Named("", 8), "New"), (PresetPlacement{-1, 0}));
  EXPECT_EQ(PresetNames(presets), (QStringList{"New", "big", "Web", "Phone"}));

  EXPECT_EQ(PlaceProjectPreset(presets, Named(""), ""), std::nullopt);
  EXPECT_EQ(presets.size(), 4u);

  const QString long_name = QString(249, u'n') + "tail";
  ASSERT_TRUE(PlaceProjectPreset(presets, Named(""), long_name));
  EXPECT_EQ(presets[0].name, QString(249, u'n'));
}

TEST(PresetListTest, SavingAPresetAddsAtTheEndOrUpdatesItsNamesake) {
  PresetList presets = ThreePresets();
  EXPECT_EQ(AddPreset(presets, Named("ignored", 9), "  Mine  "), (PresetPlacement{-1, 3}));
  EXPECT_EQ(PresetNames(presets), (QStringList{"Web", "Phone", "Big", "Mine"}));
  EXPECT_EQ(presets[3].resolution, 9);

  EXPECT_EQ(AddPreset(presets, Named("", 5), "PHONE"), (PresetPlacement{1, 1}));
  EXPECT_EQ(PresetNames(presets), (QStringList{"Web", "PHONE", "Big", "Mine"}));
  EXPECT_EQ(presets[1].resolution, 5);

  EXPECT_EQ(AddPreset(presets, Named(""), ""), std::nullopt);
  EXPECT_EQ(AddPreset(presets, Named(""), " \t "), std::nullopt);
  EXPECT_EQ(presets.size(), 4u);

  ASSERT_TRUE(AddPreset(presets, Named(""), QString(300, u'x')));
  EXPECT_EQ(presets.back().name, QString(249, u'x'));
}

TEST(PresetListTest, ListAfterDeletingIsWrittenWithoutGaps) {
  PresetList presets = ThreePresets();
  DeletePresetAt(presets, 0);
  ProfileFile profile;
  WritePresets(presets, profile);
  const PresetList read = ReadPresets(ProfileFile::FromBytes(profile.ToBytes()));
  EXPECT_EQ(read, (PresetList{Named("Phone", 2), Named("Big", 3)}));
}

}  // namespace
}  // namespace store
