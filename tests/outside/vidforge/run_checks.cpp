#include "run_checks.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

namespace vidforge_test {
namespace {

constexpr double kMaxKeyframeGap = 2.0 + 0.002;

void ExpectSound(const MediaInfo& info, const std::optional<AudioStream>& expected) {
  if (!expected) {
    EXPECT_FALSE(info.audio.has_value()) << "a sound track where none was asked for";
    return;
  }
  ASSERT_TRUE(info.audio.has_value()) << "no sound in the FLV";
  EXPECT_EQ(info.audio->codec, "mp3");
  EXPECT_EQ(info.audio->sample_rate, expected->sample_rate);
  EXPECT_EQ(info.audio->channels, expected->channels);
}

}  // namespace

void ExpectGoodFlv(const RunResult& run, const QString& folder, const QString& output,
                   const ExpectedFlv& expected, const QStringList& inputs) {
  ASSERT_TRUE(run.finished) << "vidforge did not finish";
  ASSERT_EQ(run.exit_code, 0) << run.error_output.toStdString();
  const QString path = QDir(folder).filePath(output);
  ASSERT_GT(QFileInfo(path).size(), 0);

  const MediaInfo info = Probe(path);
  ASSERT_TRUE(info.video.has_value());
  EXPECT_EQ(info.video->codec, "flv1");
  EXPECT_EQ(info.video->width, expected.width);
  EXPECT_EQ(info.video->height, expected.height);
  if (expected.frame_rate > 0) {
    EXPECT_NEAR(info.video->frame_rate, expected.frame_rate, 0.01);
  }
  // FLV time stamps are whole milliseconds and MP3 adds its encoder delay at the start.
  EXPECT_NEAR(info.duration, expected.duration, expected.duration_tolerance);
  if (expected.audio_checked) ExpectSound(info, expected.audio);

  QString report;
  EXPECT_TRUE(FlvmetaFindsNoErrors(path, &report)) << report.toStdString();
  EXPECT_LE(LongestKeyframeGap(path), kMaxKeyframeGap);
  EXPECT_EQ(ProgressFileSize(folder), 100);

  // No temporary file left beside the output.
  const QString output_folder = QFileInfo(path).absolutePath();
  QStringList wanted = inputs;
  wanted << QFileInfo(path).fileName();
  if (output_folder == QDir(folder).absolutePath()) wanted << "stat";
  wanted.sort();
  EXPECT_EQ(EntriesOf(output_folder), wanted);
}

void ExpectCleanFailure(const RunResult& run, int exit_code, const QString& reason,
                        const QString& folder, QStringList remaining) {
  ASSERT_TRUE(run.finished) << "vidforge did not finish";
  EXPECT_EQ(run.exit_code, exit_code) << run.error_output.toStdString();
  const QStringList lines = run.error_output.split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 1) << run.error_output.toStdString();
  EXPECT_TRUE(lines.front().startsWith("vidforge: ")) << lines.front().toStdString();
  EXPECT_TRUE(lines.front().contains(reason)) << lines.front().toStdString();
  remaining.sort();
  EXPECT_EQ(EntriesOf(folder), remaining);
}

}  // namespace vidforge_test
