// The skin generator runs at build time; what it makes must be what the program holds, and
// every run must give the same bytes.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "res/bitmaps.h"

namespace {

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool RunGenerator(const QStringList& arguments, QString* output) {
  QProcess tool;
  tool.setProcessChannelMode(QProcess::MergedChannels);
  tool.start(REELWRIGHT_SKIN_TOOL, QStringList{"--fonts", REELWRIGHT_FONT_DIR} + arguments);
  const bool finished = tool.waitForFinished(60000);
  *output = QString::fromLocal8Bit(tool.readAll());
  return finished && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
}

TEST(SkinGenerator, MakesExactlyWhatTheProgramHolds) {
  LoadBitmapResource(133);  // registers the compiled-in skin
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  QString output;
  ASSERT_TRUE(RunGenerator({folder.path()}, &output)) << output.toStdString();

  const QStringList made = QDir(folder.filePath("bitmaps")).entryList({"*.bmp"}, QDir::Files);
  EXPECT_EQ(made.size(), 89);
  for (const QString& name : made) {
    SCOPED_TRACE(name.toStdString());
    const QByteArray built = ReadAll(":/bitmaps/" + name);
    ASSERT_FALSE(built.isEmpty());
    EXPECT_TRUE(ReadAll(folder.filePath("bitmaps/" + name)) == built);
  }
  EXPECT_TRUE(ReadAll(folder.filePath("icons/128.png")) == ReadAll(":/icons/128.png"));
  EXPECT_TRUE(QFile::exists(folder.filePath("skin.qrc")));
}

TEST(SkinGenerator, WritesPngsForLookingAtTheSkin) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  QString output;
  ASSERT_TRUE(RunGenerator({"--png", folder.path()}, &output)) << output.toStdString();
  EXPECT_EQ(QImage(folder.filePath("215.png")).size(), QSize(540, 530));
  EXPECT_EQ(QImage(folder.filePath("mockup-page-2.png")).size(), QSize(540, 530));
  EXPECT_FALSE(QImage(folder.filePath("icon-128.png")).isNull());
}

// The desktop's icon theme finds the icon by size folder and name, and draws it unscaled only
// when the picture really has that size.
TEST(SkinGenerator, DrawsTheDesktopIconAtEveryThemeSize) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  QString output;
  ASSERT_TRUE(RunGenerator({"--icons", folder.path()}, &output)) << output.toStdString();
  for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    SCOPED_TRACE(size);
    const QImage icon(folder.filePath(QStringLiteral("%1x%1/apps/reelwright.png").arg(size)));
    EXPECT_EQ(icon.size(), QSize(size, size));
    EXPECT_TRUE(icon.hasAlphaChannel());
    // Drawn for its size, not blank: the reel covers the middle.
    EXPECT_GT(qAlpha(icon.pixel(size / 2, size / 2)), 0);
  }
}

TEST(SkinGenerator, RefusesAMissingFontFolder) {
  QTemporaryDir folder;
  QProcess tool;
  tool.start(REELWRIGHT_SKIN_TOOL, {"--fonts", folder.filePath("none"), folder.path()});
  ASSERT_TRUE(tool.waitForFinished(60000));
  EXPECT_NE(tool.exitCode(), 0);
  EXPECT_FALSE(QFile::exists(folder.filePath("skin.qrc")));
}

}  // namespace
