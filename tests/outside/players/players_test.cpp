// The players as built: each a valid SWF 8 whose script reads the page's FlashVars, a picture
// that shows the skin's own colours, and a size file that fits the bar.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QSettings>
#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "outside/players/player_program.h"
#include "outside/players/player_skin.h"
#include "outside/players/size_file.h"
#include "outside/players/skin_picture.h"
#include "swf_reader.h"

namespace {

using namespace players;

const QString kResources = QStringLiteral(REELWRIGHT_PROGRAM_DIR "/resources/");

// The name the program lists a player under: the stem after its last "-", blanks for "_".
std::string DisplayName(std::string stem) {
  stem = stem.substr(stem.rfind('-') + 1);
  std::replace(stem.begin(), stem.end(), '_', ' ');
  return stem;
}

TEST(Players, EachIsASwf8ThatPlacesANamedVideoAndRunsOneFrameScript) {
  for (const PlayerSkin& skin : ShippedSkins()) {
    SCOPED_TRACE(skin.file_stem);
    const auto swf = players_test::ReadSwf(BuildPlayer(skin));
    EXPECT_EQ(swf.version, 8);
    EXPECT_EQ(swf.frame_count, 1);
    EXPECT_GT(swf.frame_rate, 25) << "the picture changes only on the player's frames";
    std::vector<int> codes;
    for (const auto& tag : swf.tags) codes.push_back(tag.code);
    ASSERT_EQ(codes, (std::vector<int>{69, 9, 60, 26, 12, 1, 0}));
    EXPECT_EQ(static_cast<unsigned char>(swf.tags[0].body[0]) & 1, 1) << "network access";
    EXPECT_NE(swf.tags[3].body.find(std::string("video\0", 6)), std::string::npos);

    const auto actions = players_test::ReadActions(swf.tags[4].body);
    const std::set<std::string> pool(actions.pool.begin(), actions.pool.end());
    for (const char* name :
         {"contentPath", "affiliateID", "bufferTime", "autoPlay", "startStreaming",
          "hasVideoChrome", "redirectURL", "NetStream.Play.Stop", "onMetaData",
          "Video not found: ", "_self", "false", "true"})
      EXPECT_TRUE(pool.count(name)) << name;
    // The information box names the player and its skin.
    EXPECT_TRUE(pool.count(kPlayerName));
    EXPECT_TRUE(std::any_of(pool.begin(), pool.end(), [&](const std::string& text) {
      return text.find(skin.title) != std::string::npos;
    }));
    EXPECT_GT(actions.functions, 20);
  }
}

TEST(Players, ClassicComesFirstAndEverySkinIsListedByItsTitle) {
  std::set<std::string> names;
  for (const PlayerSkin& skin : ShippedSkins()) {
    EXPECT_EQ(skin.file_stem.rfind("skin-", 0), 0u) << skin.file_stem;
    const std::string name = DisplayName(skin.file_stem);
    EXPECT_EQ(name, skin.title);
    if (skin.file_stem.find('_') != std::string::npos) {
      EXPECT_NE(name.find(' '), std::string::npos) << skin.file_stem;
    }
    names.insert(name);
  }
  ASSERT_GE(ShippedSkins().size(), 4u);
  EXPECT_EQ(ShippedSkins().front().file_stem, "skin-Classic");
  EXPECT_EQ(names.size(), ShippedSkins().size()) << "two skins would show the same name";
  // The fallback is the classic look under the name a page uses when no skin is found.
  EXPECT_EQ(FallbackPlayer().file_stem, "player");
  EXPECT_EQ(FallbackPlayer().chrome_top, ShippedSkins().front().chrome_top);
}

TEST(Players, SizeFilesGiveTheChromeAndBarAndAMinimumTheBarFitsIn) {
  for (const PlayerSkin& skin : ShippedSkins()) {
    SCOPED_TRACE(skin.file_stem);
    EXPECT_EQ(IncrementWidth(skin), 2 * skin.chrome);
    EXPECT_EQ(IncrementHeight(skin), 2 * skin.chrome + skin.bar_height);
    const BarLayout bar = LayoutOf(skin);
    // At the minimal width, left to right: play, seek bar, time, mute, information and full
    // screen, each after the one before, padding before the buttons, the last within the bar.
    const int width = MinimalWidth(skin) - IncrementWidth(skin);
    const int seek = width - bar.AroundSeek();
    EXPECT_GE(seek, bar.min_seek);
    struct Part {
      const char* name;
      int x, w;
      int gap;  // at least this much room before it
    };
    const int p = bar.padding, b = bar.button;
    const std::vector<Part> parts = {
        {"play", p, b, p},
        {"seek", bar.SeekX(), seek, p},
        {"time", bar.SeekX() + seek + p, bar.time_width, p},
        // The time is centred in its field, whose edge may touch the button.
        {"mute", width - bar.FromRight(RightButton::kMute), b, 0},
        {"info", width - bar.FromRight(RightButton::kInfo), b, p},
        {"full screen", width - bar.FromRight(RightButton::kFullScreen), b, p},
    };
    int end = 0;
    for (const Part& part : parts) {
      EXPECT_GE(part.x - end, part.gap) << part.name;
      end = part.x + part.w;
    }
    EXPECT_EQ(end + p, width) << "the full-screen button ends the bar";
    EXPECT_LE(bar.button + 2 * bar.padding, skin.bar_height);
    EXPECT_GT(MinimalHeight(skin), IncrementHeight(skin));
    EXPECT_EQ(SizeFileText(skin).find('\n'), SizeFileText(skin).find("\r\n") + 1);
  }
}

// The names of a WebAssembly module's custom sections, in order; "unreadable" when the module
// does not parse as sections.
std::vector<std::string> CustomSections(const QByteArray& module) {
  size_t at = 8;  // after the magic number and the version
  auto leb = [&](size_t* value) {
    *value = 0;
    for (int shift = 0; at < static_cast<size_t>(module.size()) && shift < 35; shift += 7) {
      const auto byte = static_cast<unsigned char>(module[static_cast<qsizetype>(at++)]);
      *value |= static_cast<size_t>(byte & 0x7F) << shift;
      if (!(byte & 0x80)) return true;
    }
    return false;
  };
  std::vector<std::string> names;
  if (module.size() < 8 || !module.startsWith(QByteArray("\0asm", 4))) return {"unreadable"};
  while (at < static_cast<size_t>(module.size())) {
    const auto id = static_cast<unsigned char>(module[static_cast<qsizetype>(at++)]);
    size_t size = 0;
    if (!leb(&size) || at + size > static_cast<size_t>(module.size())) return {"unreadable"};
    const size_t end = at + size;
    size_t length = 0;
    if (id == 0 && leb(&length) && at + length <= end)
      names.push_back(module.mid(static_cast<qsizetype>(at), static_cast<qsizetype>(length))
                          .toStdString());
    at = end;
  }
  return names;
}

TEST(Players, BuiltFilesAreAllInTheResourcesFolderAndReadAsThePageExpects) {
  for (const PlayerSkin& skin : ShippedSkins()) {
    const QString stem = QString::fromStdString(skin.file_stem);
    SCOPED_TRACE(skin.file_stem);
    QFile swf(kResources + stem + ".swf");
    ASSERT_TRUE(swf.open(QIODevice::ReadOnly));
    EXPECT_EQ(swf.readAll().toStdString(), BuildPlayer(skin)) << "the build is out of date";
    EXPECT_FALSE(QImage(kResources + stem + ".jpg").isNull());
    // Page generation lowers the path before it swaps ".swf" for ".ini".
    const QString ini = kResources + stem.toLower() + ".ini";
    ASSERT_TRUE(QFile::exists(ini));
    QSettings size(ini, QSettings::IniFormat);
    EXPECT_EQ(size.value("Minimal Dimensions/Width").toInt(), MinimalWidth(skin));
    EXPECT_EQ(size.value("Minimal Dimensions/Height").toInt(), MinimalHeight(skin));
    EXPECT_EQ(size.value("Increments/Width").toInt(), IncrementWidth(skin));
    EXPECT_EQ(size.value("Increments/Height").toInt(), IncrementHeight(skin));
  }
  // The fallback is there for pages, with its size file, but without a picture: not listed.
  QFile fallback(kResources + "player.swf");
  ASSERT_TRUE(fallback.open(QIODevice::ReadOnly));
  EXPECT_EQ(fallback.readAll().toStdString(), BuildPlayer(FallbackPlayer()));
  EXPECT_TRUE(QFile::exists(kResources + "player.ini"));
  EXPECT_FALSE(QFile::exists(kResources + "player.jpg"));
  EXPECT_TRUE(QFile::exists(kResources + "ruffle/ruffle.js"));
  EXPECT_FALSE(QDir(kResources + "ruffle").entryList({"*.wasm"}).isEmpty());
  EXPECT_TRUE(QDir(kResources + "ruffle").entryList({"*.map"}).isEmpty());
  // The runtime's modules go without custom sections (debug names, linker notes), their code
  // as released.
  const QStringList modules = QDir(kResources + "ruffle").entryList({"*.wasm"});
  for (const QString& name : modules) {
    SCOPED_TRACE(name.toStdString());
    QFile module(kResources + "ruffle/" + name);
    ASSERT_TRUE(module.open(QIODevice::ReadOnly));
    const std::vector<std::string> custom = CustomSections(module.readAll());
    ASSERT_NE(custom, std::vector<std::string>{"unreadable"});
    EXPECT_TRUE(custom.empty()) << custom.front();
    QFile released(QStringLiteral(REELWRIGHT_SOURCE_DIR
                                  "/outside/players/web/node_modules/@ruffle-rs/ruffle/") +
                   name);
    EXPECT_LT(module.size(), released.size() - 1'000'000);
  }
}

int Distance(QRgb a, Rgb b) {
  return std::max({std::abs(qRed(a) - static_cast<int>((b >> 16) & 0xFF)),
                   std::abs(qGreen(a) - static_cast<int>((b >> 8) & 0xFF)),
                   std::abs(qBlue(a) - static_cast<int>(b & 0xFF))});
}

TEST(Players, PicturesShowTheSkinsOwnColoursWhereThePlayerDrawsThem) {
  for (const PlayerSkin& skin : ShippedSkins()) {
    SCOPED_TRACE(skin.file_stem);
    const QImage picture(kResources + QString::fromStdString(skin.file_stem) + ".jpg");
    ASSERT_EQ(picture.size(), kPictureSize);
    const int w = picture.width(), h = picture.height(), c = skin.chrome, bh = skin.bar_height;
    const BarLayout bar = LayoutOf(skin);
    const int strip_top = h - c - bh;
    const int seek_x = c + bar.SeekX();
    const int seek_w = w - 2 * c - bar.AroundSeek();
    // JPEG blurs edges: sample inside areas, with room for its rounding.
    constexpr int kTolerance = 24;
    EXPECT_LE(Distance(picture.pixel(w / 2, 1), skin.chrome_top), kTolerance) << "chrome";
    // Round the video, where it does not fill the screen.
    const PictureLayout layout = LayOutPicture(skin, picture.size());
    const QPoint bars = layout.video.width() < layout.screen.width() - 8
                            ? QPoint(static_cast<int>(layout.screen.left()) + 3, h / 2)
                            : QPoint(w / 2, static_cast<int>(layout.screen.top()) + 3);
    EXPECT_LE(Distance(picture.pixel(bars), skin.screen), kTolerance) << "screen";
    EXPECT_LE(Distance(picture.pixel(seek_x + 6, strip_top + bh / 2), skin.played), kTolerance)
        << "played part";
    EXPECT_LE(Distance(picture.pixel(seek_x + seek_w * (kPicturePlayed + kPictureLoaded) / 2,
                                     strip_top + bh / 2),
                       skin.loaded),
              kTolerance)
        << "loaded part";
    EXPECT_LE(Distance(picture.pixel(seek_x + seek_w - 4, strip_top + bh / 2), skin.track),
              kTolerance)
        << "track";
  }
}

}  // namespace
