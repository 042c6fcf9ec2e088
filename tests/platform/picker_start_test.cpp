// Where pickers open. The run's memory of the last choice is the process's own, so this
// binary holds only this test.
#include "platform/picker_start.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

TEST(PickerStart, TheFieldsFolderThenTheLastChoiceThenVideosThenHome) {
  QTemporaryDir home;
  qputenv("HOME", home.path().toUtf8());
  qputenv("XDG_CONFIG_HOME", QDir(home.path()).filePath(".config").toUtf8());
  const QString clips = QDir(home.path()).filePath("clips");
  const QString other = QDir(home.path()).filePath("other");
  QDir().mkpath(clips);
  QDir().mkpath(other);
  QFile(QDir(clips).filePath("a.avi")).open(QIODevice::WriteOnly);

  // Nothing chosen yet, no Videos folder: home, never the working folder, whatever the field.
  for (const QString& field : {QString(), QString("a.avi"), QString("/no/such/folder/a.avi")})
    EXPECT_EQ(platform::PickerStartFolder(field), QDir::homePath()) << field.toStdString();
  QDir().mkpath(QDir(home.path()).filePath("Videos"));
  EXPECT_EQ(platform::PickerStartFolder(""), QDir(home.path()).filePath("Videos"));

  // The field's file or folder, even a file that is gone, as long as its folder is there.
  EXPECT_EQ(platform::PickerStartFolder(QDir(clips).filePath("a.avi")), clips);
  EXPECT_EQ(platform::PickerStartFolder(QDir(clips).filePath("gone.avi")), clips);
  EXPECT_EQ(platform::PickerStartFolder(clips + "/"), clips);

  // The last choice comes before Videos, after the field.
  platform::RememberPickerChoice(QDir(other).filePath("b.flv"));
  EXPECT_EQ(platform::PickerStartFolder(""), other);
  EXPECT_EQ(platform::PickerStartFolder(QDir(clips).filePath("a.avi")), clips);
  platform::RememberPickerChoice(clips);  // a folder chosen
  EXPECT_EQ(platform::PickerStartFolder(""), clips);
}

}  // namespace
