#include "publish/player_skin.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace publish {
namespace {

class PlayerSkinScan : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(QDir(dir_.path()).mkpath("resources")); }
  void Touch(const QString& name) {
    QFile file(QDir(dir_.path()).filePath("resources/" + name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  QStringList ScannedNames() {
    std::vector<PlayerSkin> list;
    ScanPlayerSkins(list, dir_.path());
    QStringList names;
    for (const PlayerSkin& skin : list) names << skin.display_name;
    return names;
  }
  QTemporaryDir dir_;
};

TEST_F(PlayerSkinScan, ListsOnlyPlayersWithTheirPicture) {
  for (const char* name : {"a.swf", "a.jpg", "b.swf", "c.jpg", "d.txt"}) Touch(name);
  std::vector<PlayerSkin> list;
  ScanPlayerSkins(list, dir_.path());
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].player_file, "a.swf");
  EXPECT_EQ(list[0].preview_file, "a.jpg");
  EXPECT_EQ(list[0].display_name, "a");
}

TEST_F(PlayerSkinScan, SortedByNameWithoutCaseAndAppended) {
  for (const char* name : {"skin-Zeta.swf", "skin-Zeta.jpg", "b.SWF", "b.jpg", "A_x.swf", "A_x.jpg",
                           "a_y.swf", "a_y.jpg"}) {
    Touch(name);
  }
  QDir(dir_.path()).mkpath("resources/folder.swf");  // a folder is no player
  EXPECT_EQ(ScannedNames(), QStringList({"A x", "a y", "b", "Zeta"}));
  std::vector<PlayerSkin> list{{"old.swf", "old.jpg", "old"}};
  ScanPlayerSkins(list, dir_.path());
  EXPECT_EQ(list.size(), 5u);
  EXPECT_EQ(list[0].display_name, "old");
}

TEST_F(PlayerSkinScan, NoResourcesFolderGivesNothing) {
  std::vector<PlayerSkin> list;
  ScanPlayerSkins(list, QDir(dir_.path()).filePath("nowhere"));
  EXPECT_TRUE(list.empty());
}

TEST(PlayerSkin, DisplayNameAndPreviewRules) {
  EXPECT_EQ(PlayerDisplayName("skin-Steel_Blue.swf"), "Steel Blue");
  EXPECT_EQ(PlayerDisplayName("clean.swf"), "clean");
  EXPECT_EQ(PlayerDisplayName("a-b-c_d.e.swf"), "c d.e");
  EXPECT_EQ(PlayerDisplayName("x-.swf"), "");
  EXPECT_EQ(PlayerPreviewFile("skin-Steel_Blue.swf"), "skin-Steel_Blue.jpg");
  EXPECT_EQ(PlayerPreviewFile("a.b.SWF"), "a.b.jpg");
  EXPECT_EQ(PlayerSelectedLabel("Steel Blue"), "Steel Blue selected");
}

TEST(PlayerSkin, ChosenPlayerNeverIndexesOutsideTheList) {
  const std::vector<PlayerSkin> list{{"a.swf", "a.jpg", "a"}, {"b.swf", "b.jpg", "b"}};
  EXPECT_EQ(ChosenPlayerFile(list, 1), "b.swf");
  EXPECT_EQ(ChosenPlayerFile(list, 2), "player.swf");
  EXPECT_EQ(ChosenPlayerFile(list, -1), "player.swf");
  EXPECT_EQ(ChosenPlayerFile({}, 0), "player.swf");
  EXPECT_FALSE(IsValidPlayerIndex(list, -5));
  EXPECT_TRUE(IsValidPlayerIndex(list, 0));
}

}  // namespace
}  // namespace publish
