#include "store/settings_file.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "store/affiliate_file.h"
#include "store/profile_file.h"
#include "store_test_files.h"

namespace store {
namespace {

class SettingsFileTest : public ::testing::Test {
 protected:
  QTemporaryDir folder_;
  QString settings_path_ = SettingsFilePath(folder_.path());
  QString affiliate_path_ = AffiliateFilePath(folder_.path());
};

TEST_F(SettingsFileTest, BothFilesLiveInTheProgramFolder) {
  EXPECT_EQ(settings_path_, folder_.path() + "/reelwright.ini");
  EXPECT_EQ(affiliate_path_, folder_.path() + "/affiliate.cfg");
}

TEST_F(SettingsFileTest, FirstStartWithoutFilesGivesTheDefaults) {
  const StoredSettings settings = ReadSettingsFile(settings_path_);
  EXPECT_TRUE(settings.disable_i_button);
  EXPECT_FALSE(settings.players_url.enabled());
  EXPECT_FALSE(settings.videos_url.enabled());
  EXPECT_FALSE(settings.js_url.enabled());
  EXPECT_EQ(settings.players_url.url(), "http://www.example.com/players/");
  EXPECT_EQ(settings.videos_url.url(), "http://www.example.com/vidoes/");
  EXPECT_EQ(settings.js_url.url(), "reelcode.js");
  EXPECT_TRUE(settings.presets.empty());
  EXPECT_TRUE(settings.publish_mp4);
  EXPECT_EQ(ReadAffiliateId(affiliate_path_), "");
}

TEST_F(SettingsFileTest, DisableIButtonIsCheckedOnlyByOneOrByItsAbsence) {
  struct Case {
    const char* file;
    bool checked;
  };
  const Case cases[] = {
      {"[Autosave]\r\nDisableIButton=1\r\n", true},
      {"[Autosave]\r\nDisableIButton=0\r\n", false},
      {"[Autosave]\r\nDisableIButton=2\r\n", false},
      {"[Autosave]\r\nDisableIButton=yes\r\n", false},
      {"[autosave]\r\ndisableibutton = \"1\" \r\n", true},
      {"[Autosave]\r\nDisableIButton=\r\n", true},  // an empty value reads as missing
      {"[Autosave]\r\n", true},
      {"", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadSettings(ProfileFile::FromBytes(c.file)).disable_i_button, c.checked) << c.file;
  }
}

TEST_F(SettingsFileTest, ExternalLocationsStartOffButKeepTheirUrls) {
  const StoredSettings settings = ReadSettings(ProfileFile::FromBytes(
      "[VIDEOSURL]\nEnabled=1\nURL=http://media.test/v/\n[JSURL]\nEnabled=1\nURL=" +
      QByteArray(300, 'j') + "\n"));
  EXPECT_FALSE(settings.videos_url.enabled());
  EXPECT_EQ(settings.videos_url.url(), "http://media.test/v/");
  EXPECT_FALSE(settings.js_url.enabled());
  EXPECT_EQ(settings.js_url.url(), QString(259, u'j'));
  EXPECT_EQ(settings.players_url.url(), "http://www.example.com/players/");
}

TEST_F(SettingsFileTest, PresetsEndAtTheFirstGapAndExitWritesThemRenumbered) {
  store_test::WriteBytes(settings_path_,
                         "[Option0]\r\nname=Web\r\nresolution=4\r\n"
                         "[Option1]\r\nname=Phone\r\nmono=0\r\n"
                         "[Option3]\r\nname=After the gap\r\n"
                         "[Handmade]\r\nkey=value\r\n");
  StoredSettings settings = ReadSettingsFile(settings_path_);
  ASSERT_EQ(PresetNames(settings.presets), (QStringList{"Web", "Phone"}));
  // Keys missing from a named section read as 0.
  EXPECT_EQ(settings.presets[0].resolution, 4);
  EXPECT_EQ(settings.presets[0].frame_rate, 0);
  EXPECT_EQ(settings.presets[1].mono, 0);

  ASSERT_TRUE(WriteSettingsFile(settings_path_, settings));
  const ProfileFile written = ProfileFile::Load(settings_path_);
  EXPECT_EQ(written.ReadString("Option1", "name", "", 250), "Phone");
  EXPECT_EQ(written.ReadString("Option3", "name", "<gone>", 250), "<gone>");
  EXPECT_EQ(written.ReadString("Handmade", "key", "<gone>", 250), "<gone>");
}

TEST_F(SettingsFileTest, ANamelessSectionEndsTheList) {
  const StoredSettings settings = ReadSettings(ProfileFile::FromBytes(
      "[Option0]\nname=First\n[Option1]\nname=\nresolution=2\n[Option2]\nname=Third\n"));
  EXPECT_EQ(PresetNames(settings.presets), QStringList{"First"});
}

TEST_F(SettingsFileTest, ExitWritesExactlyTheKnownSectionsInOrder) {
  StoredSettings settings;
  settings.disable_i_button = false;
  settings.players_url.Set(true, "http://cdn.test/players/");
  settings.js_url.Set(false, "code.js");
  EncodingPreset preset;
  preset.name = "Web";
  settings.presets = {preset};

  ASSERT_TRUE(WriteSettingsFile(settings_path_, settings));
  EXPECT_EQ(store_test::ReadBytes(settings_path_),
            "[Autosave]\r\nDisableIButton=0\r\n"
            "[PLAYERSURL]\r\nEnabled=1\r\nURL=http://cdn.test/players/\r\n"
            "[VIDEOSURL]\r\nEnabled=0\r\nURL=\r\n"
            "[JSURL]\r\nEnabled=0\r\nURL=code.js\r\n"
            "[Option0]\r\nname=Web\r\nresolution=1\r\nframe_rate=3\r\nvideo_bitrate=0\r\n"
            "enabled_audio=1\r\naudio_bitrate=3\r\nsampling_rate=0\r\nmono=1\r\n"
            "[MP4Twin]\r\nPublish=1\r\n");
}

TEST_F(SettingsFileTest, WhatExitWritesTheNextStartReads) {
  StoredSettings settings;
  settings.disable_i_button = false;
  settings.videos_url.Set(true, "http://media.test/v/");
  EncodingPreset first, second;
  first.name = "Web";
  first.video_bitrate = 5;
  second.name = "Phone";
  second.enabled_audio = 0;
  settings.presets = {first, second};
  settings.publish_mp4 = false;
  ASSERT_TRUE(WriteSettingsFile(settings_path_, settings));

  const StoredSettings read = ReadSettingsFile(settings_path_);
  EXPECT_FALSE(read.disable_i_button);
  EXPECT_FALSE(read.videos_url.enabled());  // every start begins with the options off
  EXPECT_EQ(read.videos_url.url(), "http://media.test/v/");
  EXPECT_EQ(read.presets, settings.presets);
  EXPECT_FALSE(read.publish_mp4);
}

TEST_F(SettingsFileTest, TheAffiliateFileHoldsOneLine) {
  struct Case {
    QByteArray file;
    QString read;
  };
  const Case cases[] = {
      {"abc123", "abc123"},
      {"abc123\r\nsecond line", "abc123"},
      {"abc123\nsecond line", "abc123"},
      {"  spaced  \n", "  spaced  "},
      {"a\rb", "a\rb"},
      {"\nsecond", ""},
      {"", ""},
      {QByteArray(600, 'z') + "\n", QString(498, u'z')},
      {QByteArray(498, 'z') + "\r\n", QString(498, u'z')},
  };
  for (const Case& c : cases) {
    store_test::WriteBytes(affiliate_path_, c.file);
    EXPECT_EQ(ReadAffiliateId(affiliate_path_), c.read) << c.file.left(20).constData();
  }
}

TEST_F(SettingsFileTest, TheAffiliateIdIsWrittenUnchangedWithoutALineEnd) {
  ASSERT_TRUE(WriteAffiliateId(affiliate_path_, " id-42 "));
  EXPECT_EQ(store_test::ReadBytes(affiliate_path_), " id-42 ");
  ASSERT_TRUE(WriteAffiliateId(affiliate_path_, ""));
  EXPECT_EQ(store_test::ReadBytes(affiliate_path_), "");
  EXPECT_EQ(ReadAffiliateId(affiliate_path_), "");

  const QString long_id = QString(400, u'a') + QString(200, u'b');
  ASSERT_TRUE(WriteAffiliateId(affiliate_path_, long_id));
  EXPECT_EQ(ReadAffiliateId(affiliate_path_), long_id.left(498));
}

}  // namespace
}  // namespace store
