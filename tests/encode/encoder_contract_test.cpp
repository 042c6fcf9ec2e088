#include "encode/encoder_contract.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "qt_printers.h"

namespace {

void WriteBytes(const QString& path, qint64 count) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(QByteArray(count, 'x'));
}

TEST(EncoderContractTest, ProgressIsTheStatFileSizeClamped) {
  QTemporaryDir program_folder;
  ASSERT_TRUE(program_folder.isValid());
  EXPECT_EQ(encode::ProgressFilePath(program_folder.path()), program_folder.filePath("stat"));
  EXPECT_EQ(encode::ReadProgressPercent(program_folder.path()), std::nullopt);
  for (const auto& [bytes, percent] : {std::pair{0, 0}, {42, 42}, {100, 100}, {250, 100}}) {
    WriteBytes(program_folder.filePath("stat"), bytes);
    EXPECT_EQ(encode::ReadProgressPercent(program_folder.path()), percent) << bytes;
  }
  encode::DeleteProgressFile(program_folder.path());
  EXPECT_FALSE(QFile::exists(program_folder.filePath("stat")));
  encode::DeleteProgressFile(program_folder.path());  // missing: no error
}

TEST(EncoderContractTest, OutputIsReadyWhenItIsANonEmptyFile) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  EXPECT_FALSE(encode::EncoderOutputReady(folder.filePath("clip.flv")));
  WriteBytes(folder.filePath("clip.flv"), 0);
  EXPECT_FALSE(encode::EncoderOutputReady(folder.filePath("clip.flv")));
  WriteBytes(folder.filePath("clip.flv"), 13);
  EXPECT_TRUE(encode::EncoderOutputReady(folder.filePath("clip.flv")));
  ASSERT_TRUE(QDir(folder.path()).mkdir("folder.flv"));
  EXPECT_FALSE(encode::EncoderOutputReady(folder.filePath("folder.flv")));
}

}  // namespace
