// Damaged inputs, wrong command lines and awkward outputs: the encoder ends quickly, either with
// a good (partial) FLV or with a clean failure that leaves no output the app could mistake for a
// finished encoding.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <functional>
#include <random>

#include "run_checks.h"
#include "special_files.h"
#include "vidforge_harness.h"

namespace vidforge_test {
namespace {

void Truncate(const QString& path, double keep_fraction) {
  QFile file(path);
  ASSERT_TRUE(file.resize(static_cast<qint64>(file.size() * keep_fraction)));
}

// Overwrites every 97th byte of the last two thirds with noise, the same noise every time.
void Scramble(const QString& path) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadWrite));
  QByteArray bytes = file.readAll();
  std::mt19937 noise(7);
  for (qsizetype i = bytes.size() / 3; i < bytes.size(); i += 97)
    bytes[i] = static_cast<char>(noise());
  file.seek(0);
  file.write(bytes);
}

void WriteNoise(const QString& path, int size) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  std::mt19937 noise(11);
  QByteArray bytes(size, 0);
  for (char& byte : bytes) byte = static_cast<char>(noise());
  file.write(bytes);
}

const QStringList kMp42WithSound{"-c:v", "msmpeg4v2", "-c:a", "pcm_s16le"};
const QStringList kMpeg1WithSound{"-c:v", "mpeg1video", "-c:a", "mp2"};
const QStringList kWmv2WithWma{"-c:v", "wmv2", "-c:a", "wmav2"};
const QStringList kMpeg4InMp4{"-c:v", "mpeg4", "-c:a", "aac"};

enum class Outcome { kPartialFlv, kCleanFailure, kEither };

struct DamagedCase {
  const char* name;
  const char* file_name;
  std::function<void(const QString& path)> make;
  Outcome outcome;
  const char* reason;  // part of the failure line
};

std::function<void(const QString&)> Damaged(QStringList codecs,
                                            std::function<void(const QString&)> damage) {
  return [=](const QString& path) {
    ASSERT_NO_FATAL_FAILURE(MakeClip(path, TestPattern(160, 120, 4, true) + codecs));
    damage(path);
  };
}

auto CutInHalf = [](const QString& path) { Truncate(path, 0.5); };

std::vector<DamagedCase> DamagedCases() {
  return {
      {"TruncatedAvi", "in.avi", Damaged(kMp42WithSound, CutInHalf), Outcome::kPartialFlv, ""},
      {"TruncatedMpeg", "in.mpg", Damaged(kMpeg1WithSound, CutInHalf), Outcome::kPartialFlv, ""},
      // The index of an MP4 comes last: without it nothing can be found.
      {"TruncatedMp4", "in.mp4", Damaged(kMpeg4InMp4, CutInHalf), Outcome::kCleanFailure,
       "cannot read in.mp4"},
      {"ScrambledAvi", "in.avi", Damaged(kMp42WithSound, Scramble), Outcome::kEither, ""},
      {"ScrambledMpeg", "in.mpg", Damaged(kMpeg1WithSound, Scramble), Outcome::kEither, ""},
      {"ScrambledWmv", "in.wmv", Damaged(kWmv2WithWma, Scramble), Outcome::kEither, ""},
      {"ScrambledMp4", "in.mp4", Damaged(kMpeg4InMp4, Scramble), Outcome::kEither, ""},
      {"Noise", "in.avi", [](const QString& path) { WriteNoise(path, 100000); },
       Outcome::kCleanFailure, "cannot read in.avi"},
      {"EmptyFile", "in.avi", [](const QString& path) { WriteNoise(path, 0); },
       Outcome::kCleanFailure, "cannot read in.avi"},
      {"SoundOnly", "in.mp3",
       [](const QString& path) {
         MakeClip(path, {"-f", "lavfi", "-i", "sine=duration=2"});
       },
       Outcome::kCleanFailure, "in.mp3 has no video stream"},
      {"Missing", "in.avi", [](const QString&) {}, Outcome::kCleanFailure, "no such file"},
      {"AFolder", "in.avi", [](const QString& path) { QDir().mkpath(path); },
       Outcome::kCleanFailure, "not a regular file"},
  };
}

void PrintTo(const DamagedCase& damaged, std::ostream* out) {
  *out << damaged.name;
}

class DamagedInputs : public testing::TestWithParam<DamagedCase> {};

TEST_P(DamagedInputs, EndInAPartialFlvOrACleanFailure) {
  const DamagedCase& damaged = GetParam();
  QTemporaryDir folder;
  ASSERT_NO_FATAL_FAILURE(damaged.make(folder.filePath(damaged.file_name)));
  const QStringList before = EntriesOf(folder.path());

  QElapsedTimer clock;
  clock.start();
  const RunResult run = RunVidforge({"-i", damaged.file_name, "-vstats", "-y", "-b", "256", "-ab",
                                     "64", "-ar", "22050", "-ac", "2", "out.flv"},
                                    folder.path());
  EXPECT_LT(clock.elapsed(), 10000) << "a damaged file must not keep the encoder busy";

  const bool succeeded = run.finished && run.exit_code == 0;
  if (damaged.outcome == Outcome::kPartialFlv ||
      (damaged.outcome == Outcome::kEither && succeeded)) {
    // Whatever survived: anything from a frame or two (too few to tell the rate from) to the
    // whole clip, with or without sound.
    ExpectedFlv partial{160, 120, 0, 2.25, std::nullopt, 2.25, false};
    ExpectGoodFlv(run, folder.path(), "out.flv", partial, before);
  } else {
    ExpectCleanFailure(run, 1, damaged.reason, folder.path(), before + QStringList{"stat"});
    EXPECT_EQ(ProgressFileSize(folder.path()), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Vidforge, DamagedInputs, testing::ValuesIn(DamagedCases()), CaseName());

struct UsageCase {
  const char* name;
  QStringList arguments;
  const char* reason;
};

std::vector<UsageCase> UsageCases() {
  const QStringList sound{"-ab", "32", "-ar", "11025", "-ac", "1"};
  return {
      {"Nothing", {}, "no input and output given"},
      {"OnlyAnOutput", {"out.flv"}, "no input file given"},
      {"NoOutput", {"-i", "in.avi", "-b", "96", "-an"}, "the output file is missing"},
      {"InputWithoutPath", {"-b", "96", "-an", "-i", "out.flv"}, "-i needs a value"},
      {"NoVideoBitRate", QStringList{"-i", "in.avi"} + sound + QStringList{"out.flv"},
       "no video bit rate given"},
      // What the app passes when no video bit rate is chosen: "-b" and then the next option.
      {"VideoBitRateMissing", QStringList{"-i", "in.avi", "-b"} + sound + QStringList{"out.flv"},
       "-b needs a video bit rate in kbit/s, got \"-ab\""},
      // What the app passes when the list has no bit rate row: an empty argument.
      {"VideoBitRateEmpty",
       {"-i", "in.avi", "-b", "", "-an", "out.flv"},
       "-b needs a video bit rate in kbit/s, got \"\""},
      {"VideoBitRateNotANumber", {"-i", "in.avi", "-b", "fast", "-an", "out.flv"}, "-b needs"},
      {"VideoBitRateZero", {"-i", "in.avi", "-b", "0", "-an", "out.flv"}, "-b needs"},
      {"VideoBitRateInBits", {"-i", "in.avi", "-b", "256k", "-an", "out.flv"}, "-b needs"},
      {"SizeWithoutHeight",
       {"-i", "in.avi", "-s", "320", "-b", "96", "-an", "out.flv"},
       "-s needs"},
      {"SizeZero", {"-i", "in.avi", "-s", "0x240", "-b", "96", "-an", "out.flv"}, "-s needs"},
      {"RateWithComma", {"-i", "in.avi", "-r", "7,5", "-b", "96", "-an", "out.flv"}, "-r needs"},
      {"RateZero", {"-i", "in.avi", "-r", "0", "-b", "96", "-an", "out.flv"}, "-r needs"},
      {"SamplingRateFlvCannotCarry",
       {"-i", "in.avi", "-b", "96", "-ab", "32", "-ar", "48000", "-ac", "1", "out.flv"},
       "-ar needs a sampling rate of 11025, 22050 or 44100"},
      {"SamplingRateWithComma",
       {"-i", "in.avi", "-b", "96", "-ab", "32", "-ar", "44,100", "-ac", "1", "out.flv"},
       "-ar needs"},
      {"ThreeChannels",
       {"-i", "in.avi", "-b", "96", "-ab", "32", "-ar", "11025", "-ac", "3", "out.flv"},
       "-ac needs 1 or 2 channels"},
      {"AudioBitRateTooLow",
       {"-i", "in.avi", "-b", "96", "-ab", "4", "-ar", "11025", "-ac", "1", "out.flv"},
       "-ab needs"},
      {"SoundHalfDescribed",
       {"-i", "in.avi", "-b", "96", "-ab", "32", "out.flv"},
       "audio needs -ab, -ar and -ac, or -an"},
      {"UnknownOption",
       {"-i", "in.avi", "-vcodec", "flv", "-b", "96", "-an", "out.flv"},
       "unknown option \"-vcodec\""},
  };
}

void PrintTo(const UsageCase& usage, std::ostream* out) {
  *out << usage.name;
}

class UsageErrors : public testing::TestWithParam<UsageCase> {};

TEST_P(UsageErrors, ExitWithStatus2AndTouchNothing) {
  QTemporaryDir folder;

  const RunResult run = RunVidforge(GetParam().arguments, folder.path());

  ExpectCleanFailure(run, 2, GetParam().reason, folder.path(), {});
}

INSTANTIATE_TEST_SUITE_P(Vidforge, UsageErrors, testing::ValuesIn(UsageCases()), CaseName());

class VidforgeOutput : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(
        MakeClip(folder_.filePath("in.avi"), TestPattern(160, 120, 4, true) + kMp42WithSound));
  }

  RunResult Encode(QStringList options, const QString& output = "out.flv",
                   const std::function<void()>& child_setup = {}) {
    return RunVidforge(
        QStringList{"-i", "in.avi", "-vstats"} + options +
            QStringList{"-b", "256", "-ab", "64", "-ar", "22050", "-ac", "2", output},
        folder_.path(), child_setup);
  }

  void WriteOldOutput() {
    QFile old(folder_.filePath("out.flv"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("an earlier encoding");
  }

  QTemporaryDir folder_;
};

TEST_F(VidforgeOutput, AnExistingOutputIsKeptAndRefusedWithoutOverwrite) {
  ASSERT_NO_FATAL_FAILURE(WriteOldOutput());

  const RunResult run = Encode({});

  ExpectCleanFailure(run, 1, "out.flv already exists", folder_.path(), {"in.avi", "out.flv"});
  QFile old(folder_.filePath("out.flv"));
  ASSERT_TRUE(old.open(QIODevice::ReadOnly));
  EXPECT_EQ(old.readAll(), "an earlier encoding");
}

TEST_F(VidforgeOutput, AnExistingOutputIsReplacedWithOverwrite) {
  ASSERT_NO_FATAL_FAILURE(WriteOldOutput());

  const RunResult run = Encode({"-y"});

  ExpectGoodFlv(run, folder_.path(), "out.flv", {160, 120, 25, 4, AudioStream{"mp3", 22050, 2}},
                {"in.avi"});
}

// A failed run loses nothing: the earlier encoding stays as it was.
TEST_F(VidforgeOutput, AnOldOutputStaysAfterAFailedRun) {
  ASSERT_NO_FATAL_FAILURE(WriteOldOutput());
  ASSERT_NO_FATAL_FAILURE(WriteNoise(folder_.filePath("in.avi"), 5000));

  const RunResult run = Encode({"-y"});

  ExpectCleanFailure(run, 1, "cannot read in.avi", folder_.path(), {"in.avi", "out.flv", "stat"});
  QFile old(folder_.filePath("out.flv"));
  ASSERT_TRUE(old.open(QIODevice::ReadOnly));
  EXPECT_EQ(old.readAll(), "an earlier encoding");
}

TEST_F(VidforgeOutput, TheInputIsNeverOverwritten) {
  const qint64 input_size = QFileInfo(folder_.filePath("in.avi")).size();

  const RunResult run = Encode({"-y"}, "./in.avi");

  ExpectCleanFailure(run, 1, "is the input itself", folder_.path(), {"in.avi"});
  EXPECT_EQ(QFileInfo(folder_.filePath("in.avi")).size(), input_size);
}

TEST_F(VidforgeOutput, AMissingOutputFolderFails) {
  const RunResult run = Encode({"-y"}, "nowhere/out.flv");

  ExpectCleanFailure(run, 1, "cannot write nowhere/out.flv", folder_.path(), {"in.avi", "stat"});
}

// A device, FIFO, socket or folder in the output's place is a mistake in the command line: it
// is refused before anything runs, with or without -y, and never removed or written through.
TEST_F(VidforgeOutput, AnOutputThatIsNotAPlainFileIsAUsageErrorAndStays) {
  for (const test_support::SpecialKind kind : test_support::AllSpecialKinds()) {
    SCOPED_TRACE(test_support::KindName(kind));
    const QString name = QString("out-%1.flv").arg(static_cast<int>(kind));
    const QString path = folder_.filePath(name);
    const QString cannot = test_support::MakeSpecialFile(kind, path);
    if (!cannot.isEmpty()) {
      std::printf("skipped the %s here: %s\n", test_support::KindName(kind), qPrintable(cannot));
      continue;
    }
    const QString before = test_support::Describe(path);
    const QStringList entries = EntriesOf(folder_.path());
    for (const QStringList& overwrite : {QStringList{"-y"}, QStringList{}}) {
      const RunResult run = Encode(overwrite, name);
      ExpectCleanFailure(
          run, 2,
          name + (kind == test_support::SpecialKind::kFolder ? " is a folder"
                                                             : " is not a regular file"),
          folder_.path(), entries);
      EXPECT_EQ(test_support::Describe(path), before);
    }
  }
}

// A file size limit fails the writes midway, as a full disk would.
TEST_F(VidforgeOutput, AWriteErrorLeavesNoFileBehind) {
  const RunResult run = Encode({"-y"}, "out.flv", [] {
    const rlimit limit{20000, 20000};
    setrlimit(RLIMIT_FSIZE, &limit);
  });

  ExpectCleanFailure(run, 1, "cannot", folder_.path(), {"in.avi", "stat"});
}

// Starts a run long enough to be stopped midway and waits until it is well under way; false
// when it ended first.
bool StartLongRunAndWait(QProcess& process, const QString& folder) {
  MakeClip(folder + "/in.avi", TestPattern(160, 120, 20, true) + kMp42WithSound);
  StartVidforge(process,
                {"-i", "in.avi", "-vstats", "-y", "-s", "800x600", "-r", "30", "-b", "1600", "-an",
                 "out.flv"},
                folder);
  QElapsedTimer deadline;
  deadline.start();
  while (ProgressFileSize(folder) < 5 && !process.waitForFinished(5) &&
         deadline.elapsed() < 30000) {
  }
  return process.state() != QProcess::NotRunning;
}

TEST_F(VidforgeOutput, AnInterruptedRunLeavesNoFileBehind) {
  QProcess process;
  if (!StartLongRunAndWait(process, folder_.path()))
    GTEST_SKIP() << "the run ended before it could be interrupted";
  process.terminate();
  ASSERT_TRUE(process.waitForFinished(10000));

  EXPECT_EQ(process.exitStatus(), QProcess::CrashExit);
  EXPECT_EQ(EntriesOf(folder_.path()), (QStringList{"in.avi", "stat"}));
}

// Killed outright, the encoder cannot clean up: the file it was writing must have had no name.
TEST_F(VidforgeOutput, AKilledRunLeavesNoFileBehind) {
  if (!test_support::FolderTakesUnnamedFiles(folder_.path()))
    GTEST_SKIP() << "this file system makes no unnamed files; a kill -9 leaves the named one";
  QProcess process;
  if (!StartLongRunAndWait(process, folder_.path()))
    GTEST_SKIP() << "the run ended before it could be killed";
  process.kill();
  ASSERT_TRUE(process.waitForFinished(10000));

  EXPECT_EQ(process.exitStatus(), QProcess::CrashExit);
  EXPECT_EQ(EntriesOf(folder_.path()), (QStringList{"in.avi", "stat"}));
}

}  // namespace
}  // namespace vidforge_test
