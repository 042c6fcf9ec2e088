// The dialog's conversion loop run against the component, checked with ffprobe and ffmpeg.
#include <gtest/gtest.h>

#include <QFile>
#include <algorithm>
#include <cmath>
#include <map>

#include "dialog_conversion_loop.h"
#include "media_folder.h"
#include "media_tools.h"
#include "outside/videofile/video_file.h"

namespace videofile_test {
namespace {

using videofile::CreateVideoFile;
using videofile::kVideoFileClassId;

struct Expected {
  int width = 160;
  int height = 120;
  int frames = 30;
  double seconds = 2.0;
  int channels = 1;  // 0 for no audio
  double audio_seconds = 2.0;
};

class DialogConversion : public ::testing::Test {
 protected:
  LoopOutcome Convert(const std::string& input) {
    auto reader = CreateVideoFile(kVideoFileClassId);
    auto writer = CreateVideoFile(kVideoFileClassId);
    return RunDialogConversion(*reader, *writer, input);
  }

  // Converts `input` and checks the AVI against what the encoder needs.
  void ConvertAndCheck(const std::string& input, const Expected& expected) {
    ASSERT_FALSE(input.empty());
    const LoopOutcome outcome = Convert(input);
    ASSERT_TRUE(outcome.succeeded) << outcome.failed_operation;
    EXPECT_TRUE(outcome.writer_closed);
    EXPECT_EQ(outcome.converted_path, input.substr(0, input.size() - 4) + "_converted.avi");
    EXPECT_TRUE(std::is_sorted(outcome.progress.begin(), outcome.progress.end()));
    EXPECT_EQ(outcome.progress.back(), 100);

    const auto probed = Probe(outcome.converted_path);
    ASSERT_TRUE(probed);
    EXPECT_EQ(probed->format, "avi");
    EXPECT_NEAR(probed->duration, expected.seconds, 0.1);
    const ProbedStream* video = probed->Find("video");
    ASSERT_NE(video, nullptr);
    EXPECT_EQ(video->codec, "msmpeg4v2");
    EXPECT_EQ(video->tag, "MP42");
    EXPECT_EQ(video->width, expected.width);
    EXPECT_EQ(video->height, expected.height);
    EXPECT_NEAR(video->frames, expected.frames, 1);
    const ProbedStream* audio = probed->Find("audio");
    if (expected.channels == 0) {
      EXPECT_EQ(audio, nullptr);
    } else {
      ASSERT_NE(audio, nullptr);
      EXPECT_EQ(audio->codec, "pcm_s16le");
      EXPECT_EQ(audio->channels, expected.channels);
      EXPECT_EQ(audio->sample_rate, 44100);
      // Give or take one block of 2304 bytes.
      EXPECT_NEAR(audio->samples, expected.audio_seconds * 44100, 2304 / (2 * audio->channels));
      ExpectInterleaved(outcome.converted_path);
    }
    EXPECT_TRUE(DecodesCleanly(outcome.converted_path));
  }

  // No packet lies more than a second of play away from the other stream's latest packet.
  void ExpectInterleaved(const std::string& path) {
    std::map<std::string, double> latest;
    for (const ProbedPacket& packet : ProbePackets(path)) {
      latest[packet.type] = packet.time;
      if (latest.size() == 2) {
        EXPECT_LT(std::fabs(latest["video"] - latest["audio"]), 1.0)
            << packet.type << " " << packet.time;
      }
    }
  }

  MediaFolder media;
};

TEST_F(DialogConversion, ConvertsACramAvi) {
  ConvertAndCheck(media.Make("clip.avi", kCramAvi), {});
}

TEST_F(DialogConversion, ConvertsAWindowsMediaFile) {
  ConvertAndCheck(
      media.Make("clip.wmv", {"-f", "lavfi", "-i", "testsrc=size=160x120:rate=15", "-f", "lavfi",
                              "-i", "sine", "-t", "2", "-c:v", "wmv2", "-c:a", "wmav2"}),
      // The WMA decoder's first samples come at 92 ms, after silence.
      {.audio_seconds = 2.09});
}

TEST_F(DialogConversion, ConvertsASourceWithoutAudio) {
  ConvertAndCheck(media.Make("silent.avi", kCramAvi + QStringList{"-an"}), {.channels = 0});
}

TEST_F(DialogConversion, StopsAudioThatOutlastsTheVideoAtTheVideosEnd) {
  ConvertAndCheck(
      media.Make("long_audio.avi",
                 {"-f", "lavfi", "-i", "testsrc=size=160x120:rate=15:duration=1", "-f", "lavfi",
                  "-i", "sine=duration=3", "-c:v", "msvideo1", "-c:a", "pcm_s16le"}),
      {.frames = 15, .seconds = 1.0, .audio_seconds = 1.0});
}

TEST_F(DialogConversion, PadsAnOddSizedSourceToEven) {
  ConvertAndCheck(
      media.Make("odd.avi", {"-f", "lavfi", "-i", "testsrc=size=159x119:rate=15", "-f", "lavfi",
                             "-i", "sine", "-t", "2", "-c:v", "ffv1", "-c:a", "pcm_s16le"}),
      {.width = 160, .height = 120});
}

TEST_F(DialogConversion, GivesAVariableRateSourceItsConstantRate) {
  // 20 of the 30 frames of each second, at their 30-per-second times; the frames left out are
  // filled by repeating the one before.
  ConvertAndCheck(
      media.Make("uneven.mkv", {"-f", "lavfi", "-i", "testsrc=size=160x120:rate=30", "-f", "lavfi",
                                "-i", "sine", "-t", "2", "-vf", "select='not(eq(mod(n\\,3)\\,1))'",
                                "-fps_mode", "vfr", "-c:v", "mpeg4", "-c:a", "pcm_s16le"}),
      {.frames = 60});
}

TEST_F(DialogConversion, FailsOnAFileCutShortOrDamagedWithoutHanging) {
  QFile original(QString::fromStdString(media.Make("clip.avi", kCramAvi)));
  ASSERT_TRUE(original.open(QIODevice::ReadOnly));
  const QByteArray bytes = original.readAll();

  const LoopOutcome cut = Convert(media.Write("cut.avi", bytes.left(bytes.size() / 3)));
  EXPECT_FALSE(cut.succeeded);
  EXPECT_EQ(cut.failed_operation, "ReadVideoFrame");

  // Zeros over the middle third: what can be read is converted, the rest fails; either way
  // the loop ends.
  QByteArray damaged = bytes;
  damaged.replace(bytes.size() / 3, bytes.size() / 3, QByteArray(bytes.size() / 3, '\0'));
  const LoopOutcome outcome = Convert(media.Write("damaged.avi", damaged));
  EXPECT_NE(outcome.failed_operation, "loop did not end");
}

TEST_F(DialogConversion, ReportsAnUnreadableInputAtOpenInputFile) {
  const LoopOutcome outcome = Convert(media.Write("clip.avi", "not a video at all"));
  EXPECT_EQ(outcome.failed_operation, "OpenInputFile");
  EXPECT_TRUE(outcome.converted_path.empty());
}

// The reader decodes the video ahead on a thread of its own; VIDEOFILE_READ_AHEAD=0 reads it on
// the caller's. The dialog must see the same: the same AVI to the byte, the same progress, the
// same failure.
TEST_F(DialogConversion, DecodingAheadChangesNothingTheDialogSees) {
  QFile original(QString::fromStdString(media.Make("clip.avi", kCramAvi)));
  ASSERT_TRUE(original.open(QIODevice::ReadOnly));
  const QByteArray bytes = original.readAll();
  const std::string inputs[] = {
      original.fileName().toStdString(),
      media.Make("uneven.mkv", {"-f", "lavfi", "-i", "testsrc=size=160x120:rate=30", "-f",
                                "lavfi", "-i", "sine", "-t", "2", "-vf",
                                "select='not(eq(mod(n\\,3)\\,1))'", "-fps_mode", "vfr", "-c:v",
                                "mpeg4", "-c:a", "pcm_s16le"}),
      media.Make("long_audio.avi",
                 {"-f", "lavfi", "-i", "testsrc=size=160x120:rate=15:duration=1", "-f", "lavfi",
                  "-i", "sine=duration=3", "-c:v", "msvideo1", "-c:a", "pcm_s16le"}),
      media.Write("cut.avi", bytes.left(bytes.size() / 3)),
  };
  for (const std::string& input : inputs) {
    SCOPED_TRACE(input);
    const auto convert = [&](bool ahead) {
      if (!ahead) qputenv("VIDEOFILE_READ_AHEAD", "0");
      const LoopOutcome outcome = Convert(input);
      qunsetenv("VIDEOFILE_READ_AHEAD");
      QFile converted(QString::fromStdString(outcome.converted_path));
      const QByteArray avi = converted.open(QIODevice::ReadOnly) ? converted.readAll() : "";
      return std::make_pair(outcome, avi);
    };
    const auto [on_one_thread, one_thread_avi] = convert(false);
    const auto [ahead, ahead_avi] = convert(true);
    EXPECT_EQ(ahead.succeeded, on_one_thread.succeeded);
    EXPECT_EQ(ahead.failed_operation, on_one_thread.failed_operation);
    EXPECT_EQ(ahead.progress, on_one_thread.progress);
    EXPECT_TRUE(ahead_avi == one_thread_avi) << "the converted AVIs differ";
  }
}

}  // namespace
}  // namespace videofile_test
