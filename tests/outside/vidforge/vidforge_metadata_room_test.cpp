// The encoder leaves room in its onMetaData for the one the metadata tool writes, so that the
// tool rewrites that tag in place instead of copying the video.
#include <sys/stat.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "run_program.h"
#include "vidforge_harness.h"

namespace vidforge_test {
namespace {

ino_t Inode(const QString& path) {
  struct stat info {};
  return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

QByteArray Contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(VidforgeMetadataRoom, LetsTheMetadataToolWriteInPlace) {
  QTemporaryDir folder;
  // Long enough for a key frame index of some size, small enough to encode at once.
  ASSERT_NO_FATAL_FAILURE(
      MakeClip(folder.filePath("clip.avi"),
               TestPattern(96, 64, 120, true) + QStringList{"-c:v", "mpeg4", "-c:a", "pcm_s16le"}));
  const RunResult run = RunVidforge({"-i", "clip.avi", "-y", "-r", "10", "-b", "64", "-ab", "32",
                                     "-ar", "22050", "-ac", "1", "out.flv"},
                                    folder.path());
  ASSERT_EQ(run.exit_code, 0) << run.error_output.toStdString();
  const QString flv = folder.filePath("out.flv");
  const auto ffprobe_errors = [&] {
    return test_support::RunProgram("ffprobe", {"-v", "error", "-show_format", flv}).err;
  };
  EXPECT_EQ(ffprobe_errors(), "") << "the room must not trouble a reader";
  const QByteArray encoded = Contents(flv);
  const ino_t inode = Inode(flv);

  const auto stamped =
      test_support::RunProgram(QStringLiteral(REELWRIGHT_PROGRAM_DIR "/metastamp"), {flv});
  ASSERT_EQ(stamped.exit_code, 0) << stamped.err.toStdString();
  EXPECT_EQ(Inode(flv), inode) << "the file was copied, not written in place";
  const QByteArray after = Contents(flv);
  ASSERT_EQ(after.size(), encoded.size());
  EXPECT_TRUE(after.contains("Reelwright metastamp"));
  QString report;
  EXPECT_TRUE(FlvmetaFindsNoErrors(flv, &report)) << report.toStdString();
  EXPECT_EQ(ffprobe_errors(), "");
}

}  // namespace
}  // namespace vidforge_test
