// The encoder runs as a pipeline on threads; VIDFORGE_SINGLE_THREAD=1 runs every stage on one
// thread. Both must give the same file to the byte (the same packets, key frames and metadata),
// the same progress at the end and the same failures.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QCryptographicHash>
#include <QFile>
#include <QTemporaryDir>
#include <functional>

#include "vidforge_harness.h"

namespace vidforge_test {
namespace {

struct Outcome {
  RunResult run;
  QStringList entries;
  QByteArray output;     // the FLV, empty when there is none
  qint64 progress = -1;  // the size of stat at the end
  QString frame_hashes;  // ffmpeg's framemd5 of the FLV's packets
};

Outcome EncodeOnce(const QString& folder, const QStringList& arguments, bool one_thread,
                   const std::function<void()>& child_setup = {}) {
  QFile::remove(folder + "/out.flv");
  if (one_thread) qputenv("VIDFORGE_SINGLE_THREAD", "1");
  Outcome outcome;
  outcome.run = RunVidforge(arguments, folder, child_setup);
  qunsetenv("VIDFORGE_SINGLE_THREAD");
  outcome.entries = EntriesOf(folder);
  QFile output(folder + "/out.flv");
  if (output.open(QIODevice::ReadOnly)) outcome.output = output.readAll();
  outcome.progress = ProgressFileSize(folder);
  if (!outcome.output.isEmpty()) {
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg",
                 {"-v", "error", "-i", folder + "/out.flv", "-c", "copy", "-f", "framemd5", "-"});
    ffmpeg.waitForFinished(60000);
    outcome.frame_hashes = QString::fromUtf8(ffmpeg.readAllStandardOutput());
  }
  return outcome;
}

void ExpectSameOutcome(const QString& folder, const QStringList& arguments,
                       const std::function<void()>& child_setup = {}) {
  const Outcome one = EncodeOnce(folder, arguments, true, child_setup);
  const Outcome pipelined = EncodeOnce(folder, arguments, false, child_setup);
  EXPECT_TRUE(pipelined.run.finished);
  EXPECT_EQ(pipelined.run.exit_code, one.run.exit_code);
  EXPECT_EQ(pipelined.run.error_output, one.run.error_output);
  EXPECT_EQ(pipelined.entries, one.entries);
  EXPECT_EQ(pipelined.progress, one.progress);
  EXPECT_EQ(pipelined.frame_hashes, one.frame_hashes);
  // The whole file, metadata and all, so that a difference shows as a hash, not megabytes.
  EXPECT_EQ(QCryptographicHash::hash(pipelined.output, QCryptographicHash::Sha256).toHex(),
            QCryptographicHash::hash(one.output, QCryptographicHash::Sha256).toHex());
}

struct PipelineCase {
  const char* name;
  QStringList source;    // ffmpeg arguments making in.avi
  QStringList settings;  // vidforge's, between the input and the output
  std::function<void(const QString&)> damage;
};

const QStringList kSound = {"-ab", "64", "-ar", "22050", "-ac", "2"};

std::vector<PipelineCase> PipelineCases() {
  const auto pattern = [](int seconds) {
    return TestPattern(320, 240, seconds, true) +
           QStringList{"-c:v", "mpeg4", "-q:v", "4", "-c:a", "pcm_s16le"};
  };
  return {
      {"SourceSizeWithSound", pattern(8), QStringList{"-b", "400"} + kSound, {}},
      {"SmallerAndSlowerWithSound",
       pattern(8),
       QStringList{"-s", "160x120", "-r", "15", "-b", "200"} + kSound,
       {}},
      {"LargerAndFasterMono",
       pattern(4),
       QStringList{"-s", "640x480", "-r", "30", "-b", "800", "-ab", "32", "-ar", "11025", "-ac",
                   "1"},
       {}},
      {"WithoutSound", pattern(6), {"-b", "300", "-an"}, {}},
      {"TruncatedInput", pattern(8), QStringList{"-b", "300"} + kSound,
       [](const QString& path) {
         QFile file(path);
         file.resize(file.size() * 6 / 10);
       }},
  };
}

void PrintTo(const PipelineCase& c, std::ostream* out) {
  *out << c.name;
}

class Pipeline : public testing::TestWithParam<PipelineCase> {};

TEST_P(Pipeline, WritesWhatOneThreadWrites) {
  const PipelineCase& c = GetParam();
  QTemporaryDir folder;
  ASSERT_NO_FATAL_FAILURE(MakeClip(folder.filePath("in.avi"), c.source));
  if (c.damage) c.damage(folder.filePath("in.avi"));
  const QStringList arguments =
      QStringList{"-i", "in.avi", "-vstats", "-y"} + c.settings + QStringList{"out.flv"};
  ExpectSameOutcome(folder.path(), arguments);
}

INSTANTIATE_TEST_SUITE_P(Vidforge, Pipeline, testing::ValuesIn(PipelineCases()), CaseName());

// A stage that fails midway (here the writing, over a file size limit) stops the others and
// leaves nothing behind, as on one thread.
TEST(PipelineFailure, AFailingStageEndsTheRunAsOnOneThread) {
  QTemporaryDir folder;
  ASSERT_NO_FATAL_FAILURE(
      MakeClip(folder.filePath("in.avi"),
               TestPattern(320, 240, 8, true) + QStringList{"-c:v", "mpeg4", "-c:a", "pcm_s16le"}));
  const auto limit_file_size = [] {
    const rlimit limit{60000, 60000};
    setrlimit(RLIMIT_FSIZE, &limit);
  };
  ExpectSameOutcome(
      folder.path(),
      QStringList{"-i", "in.avi", "-vstats", "-y", "-b", "800"} + kSound + QStringList{"out.flv"},
      limit_file_size);
  const Outcome failed =
      EncodeOnce(folder.path(),
                 QStringList{"-i", "in.avi", "-y", "-b", "800"} + kSound + QStringList{"out.flv"},
                 false, limit_file_size);
  EXPECT_EQ(failed.run.exit_code, 1);
  EXPECT_TRUE(failed.output.isEmpty());
}

}  // namespace
}  // namespace vidforge_test
