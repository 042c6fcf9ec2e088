// The encoder on the kinds of video users bring and the settings the app passes.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>

#include "run_checks.h"
#include "vidforge_harness.h"

namespace vidforge_test {
namespace {

struct SourceCase {
  const char* name;
  const char* file_name;
  QStringList ffmpeg_arguments;
  const char* needs_encoder;  // skipped when this ffmpeg lacks it
  ExpectedFlv expected;
};

// Encoded as the app's defaults would ask for them, at the source's own size and rate.
const QStringList kKeepSourceSettings{"-b", "256", "-ab", "64", "-ar", "22050", "-ac", "2"};
const AudioStream kStereo22050{"mp3", 22050, 2};

std::vector<SourceCase> SourceCases() {
  const QStringList with_sound = TestPattern(160, 120, 2, true);
  return {
      {"MsVideo1Avi",
       "clip.avi",
       with_sound + QStringList{"-c:v", "msvideo1", "-c:a", "pcm_s16le"},
       nullptr,
       {160, 120, 25, 2, kStereo22050}},
      {"Mp42Avi",
       "clip.avi",
       with_sound + QStringList{"-c:v", "msmpeg4v2", "-c:a", "pcm_s16le"},
       nullptr,
       {160, 120, 25, 2, kStereo22050}},
      {"Mpeg1",
       "clip.mpg",
       with_sound + QStringList{"-c:v", "mpeg1video", "-c:a", "mp2"},
       nullptr,
       {160, 120, 25, 2, kStereo22050}},
      {"Wmv2WithWma",
       "clip.wmv",
       with_sound + QStringList{"-c:v", "wmv2", "-c:a", "wmav2"},
       nullptr,
       {160, 120, 25, 2, kStereo22050}},
      {"H264Mp4",
       "clip.mp4",
       with_sound + QStringList{"-c:v", "libx264", "-pix_fmt", "yuv420p", "-c:a", "aac"},
       "libx264",
       {160, 120, 25, 2, kStereo22050}},
      {"OddSizeWithoutSound",
       "clip.avi",
       TestPattern(161, 121, 2, false) + QStringList{"-c:v", "mpeg4"},
       nullptr,
       {161, 121, 25, 2, std::nullopt}},
      // One second at 25 frames a second, then 25 frames a tenth of a second apart: 3.5 s.
      {"VariableFrameRate",
       "clip.mkv",
       with_sound + QStringList{"-vf", "setpts='if(lt(N,25),N/25,1+(N-25)/10)/TB'", "-vsync", "vfr",
                                "-c:v", "mpeg4", "-c:a", "libmp3lame"},
       nullptr,
       {160, 120, 0, 3.5, kStereo22050}},
      {"SoundOutlastsVideo",
       "clip.avi",
       TestPattern(160, 120, 1, false) + QStringList{"-f", "lavfi", "-i", "sine=duration=3", "-c:v",
                                                     "mpeg4", "-c:a", "pcm_s16le"},
       nullptr,
       {160, 120, 25, 3, kStereo22050}},
  };
}

void PrintTo(const SourceCase& source, std::ostream* out) {
  *out << source.name;
}

class SourceFormats : public testing::TestWithParam<SourceCase> {};

TEST_P(SourceFormats, BecomeFlvWithSparkVideoAndMp3Sound) {
  const SourceCase& source = GetParam();
  if (source.needs_encoder && !FfmpegHasEncoder(source.needs_encoder))
    GTEST_SKIP() << "this ffmpeg has no " << source.needs_encoder << " to make the clip";
  QTemporaryDir folder;
  ASSERT_NO_FATAL_FAILURE(MakeClip(folder.filePath(source.file_name), source.ffmpeg_arguments));

  const RunResult run = RunVidforge(QStringList{"-i", source.file_name, "-vstats", "-y"} +
                                        kKeepSourceSettings + QStringList{"out.flv"},
                                    folder.path());

  ExpectGoodFlv(run, folder.path(), "out.flv", source.expected, {source.file_name});
}

INSTANTIATE_TEST_SUITE_P(Vidforge, SourceFormats, testing::ValuesIn(SourceCases()), CaseName());

struct SettingsCase {
  const char* name;
  QStringList arguments;
  ExpectedFlv expected;
};

std::vector<SettingsCase> SettingsCases() {
  return {
      {"SmallerAndSlower",
       {"-s", "320x240", "-r", "7.5", "-b", "256", "-ab", "64", "-ar", "22050", "-ac", "2"},
       {320, 240, 7.5, 5, AudioStream{"mp3", 22050, 2}}},
      {"HalfFramesAndLowestRates",
       {"-r", "12.5", "-b", "24", "-ab", "16", "-ar", "44100", "-ac", "1"},
       {160, 120, 12.5, 5, AudioStream{"mp3", 44100, 1}}},
      // 160 kbit/s is more than MP3 carries at 11025 Hz: the nearest possible rate is used.
      {"LargestAndHighestRates",
       {"-s", "800x600", "-r", "30", "-b", "1600", "-ab", "160", "-ar", "11025", "-ac", "2"},
       {800, 600, 30, 5, AudioStream{"mp3", 11025, 2}}},
      // At one frame a second the encoder's own key frame distance (12 frames) is far too long.
      {"OneFrameASecondStillSeekable",
       {"-r", "1", "-b", "96", "-an"},
       {160, 120, 1, 5, std::nullopt}},
      {"WithoutSound", {"-s", "240x180", "-b", "48", "-an"}, {240, 180, 25, 5, std::nullopt}},
  };
}

void PrintTo(const SettingsCase& settings, std::ostream* out) {
  *out << settings.name;
}

class EncoderSettings : public testing::TestWithParam<SettingsCase> {};

TEST_P(EncoderSettings, AreHonouredInTheFlv) {
  QTemporaryDir folder;
  ASSERT_NO_FATAL_FAILURE(MakeClip(
      folder.filePath("clip.avi"),
      TestPattern(160, 120, 5, true) + QStringList{"-c:v", "msmpeg4v2", "-c:a", "pcm_s16le"}));

  const RunResult run = RunVidforge(QStringList{"-i", "clip.avi", "-vstats", "-y"} +
                                        GetParam().arguments + QStringList{"out.flv"},
                                    folder.path());

  ExpectGoodFlv(run, folder.path(), "out.flv", GetParam().expected, {"clip.avi"});
}

INSTANTIATE_TEST_SUITE_P(Vidforge, EncoderSettings, testing::ValuesIn(SettingsCases()), CaseName());

struct PathCase {
  const char* name;
  QString input;
  QString output;
};

// Paths arrive as single arguments and must be taken literally, never as options, protocols or
// shell text.
std::vector<PathCase> PathCases() {
  return {
      {"BlanksAndQuotes", "my clip \"one\".avi", "my movie 'one'.flv"},
      {"LeadingDash", "-clip.avi", "-movie.flv"},
      {"ShellCharacters", "clip $(echo x);&|.avi", "movie `x` *?.flv"},
      {"LooksLikeAProtocol", "concat:clip.avi", "file:movie.flv"},
      {"InSubfolders", "in put/clip.avi", "out put/movie.flv"},
  };
}

void PrintTo(const PathCase& paths, std::ostream* out) {
  *out << paths.name;
}

class Paths : public testing::TestWithParam<PathCase> {};

TEST_P(Paths, AreTakenLiterally) {
  const PathCase& paths = GetParam();
  QTemporaryDir folder;
  QDir(folder.path()).mkpath(QFileInfo(paths.input).path());
  QDir(folder.path()).mkpath(QFileInfo(paths.output).path());
  ASSERT_NO_FATAL_FAILURE(MakeClip(folder.filePath(paths.input),
                                   TestPattern(160, 120, 1, false) + QStringList{"-c:v", "mpeg4"}));

  const RunResult run = RunVidforge(
      {"-i", paths.input, "-vstats", "-y", "-b", "96", "-an", paths.output}, folder.path());

  const bool side_by_side = QFileInfo(paths.input).path() == QFileInfo(paths.output).path();
  ExpectGoodFlv(run, folder.path(), paths.output, {160, 120, 25, 1, std::nullopt},
                side_by_side ? QStringList{QFileInfo(paths.input).fileName()} : QStringList{});
}

INSTANTIATE_TEST_SUITE_P(Vidforge, Paths, testing::ValuesIn(PathCases()), CaseName());

TEST(VidforgeProgress, OnlyGrowsAndEndsAt100) {
  QTemporaryDir folder;
  ASSERT_NO_FATAL_FAILURE(
      MakeClip(folder.filePath("clip.avi"),
               TestPattern(160, 120, 8, true) + QStringList{"-c:v", "mpeg4", "-c:a", "pcm_s16le"}));
  QProcess process;
  StartVidforge(process,
                {"-i", "clip.avi", "-vstats", "-y", "-s", "800x600", "-r", "30", "-b", "1600",
                 "-ab", "128", "-ar", "44100", "-ac", "2", "out.flv"},
                folder.path());
  ASSERT_TRUE(process.waitForStarted());

  std::vector<qint64> sizes;
  QElapsedTimer deadline;
  deadline.start();
  while (!process.waitForFinished(5) && deadline.elapsed() < 30000)
    sizes.push_back(ProgressFileSize(folder.path()));
  ASSERT_EQ(process.state(), QProcess::NotRunning) << "vidforge did not finish";
  sizes.push_back(ProgressFileSize(folder.path()));

  EXPECT_EQ(process.exitCode(), 0);
  EXPECT_TRUE(std::is_sorted(sizes.begin(), sizes.end()));
  EXPECT_EQ(sizes.back(), 100);
  EXPECT_LE(*std::max_element(sizes.begin(), sizes.end()), 100);
}

}  // namespace
}  // namespace vidforge_test
