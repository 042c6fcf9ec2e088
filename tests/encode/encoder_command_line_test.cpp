#include "encode/encoder_command_line.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>

#include "encode/encoder_contract.h"
#include "platform/stand_in_program.h"
#include "qt_printers.h"

namespace {

using encode::EncoderJob;
using encode::EncoderRun;

// The output folders in these tests live in a temporary folder; "@" in an expected text
// stands for it.
class EncoderCommandLineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(temp_.isValid());
    ASSERT_TRUE(QDir(temp_.path()).mkdir("out"));
  }
  QString At(QString text) const { return text.replace('@', temp_.path()); }

  // Input /in/clip.avi into @/out/, named clip; 320x240 at 15 frames a second, 256 kbit/s;
  // audio on at 64 kbit/s, 22,050 Hz, stereo.
  EncoderJob ExampleJob() const {
    EncoderJob job;
    job.output_folder = At("@/out/");
    job.input_video = "/in/clip.avi";
    job.output_video = "clip";
    job.resolution_row = 3;
    job.frame_rate_row = 9;
    job.frame_rate = "15";
    job.video_bitrate = "256";
    job.enabled_audio = true;
    job.audio_bitrate = "64";
    job.sampling_rate = "22,050";
    job.mono = false;
    job.working_folder = temp_.path();
    return job;
  }

  QTemporaryDir temp_;
};

TEST_F(EncoderCommandLineTest, TheWindowsJobGivesTheRowsTextsAndNothingForNoRow) {
  store::ProjectSnapshot job;
  job.output_folder = "/srv/out";
  job.input_video = "/in/clip.avi";
  job.output_video = "clip";
  job.resolution = 3;
  job.frame_rate = 9;
  job.video_bitrate = 5;
  job.audio_bitrate = 6;
  job.sampling_rate = 1;
  job.enabled_audio = true;
  job.mono = false;
  EncoderJob run = encode::EncoderJobFor(job);
  EXPECT_EQ(run.output_folder, "/srv/out");
  EXPECT_EQ(run.input_video, "/in/clip.avi");
  EXPECT_EQ(run.output_video, "clip");
  EXPECT_EQ(run.resolution_row, 3);
  EXPECT_EQ(run.frame_rate_row, 9);
  EXPECT_EQ(run.frame_rate, "15");
  EXPECT_EQ(run.video_bitrate, "256");
  EXPECT_EQ(run.audio_bitrate, "64");
  EXPECT_EQ(run.sampling_rate, "22,050");
  EXPECT_TRUE(run.enabled_audio);
  EXPECT_FALSE(run.mono);
  EXPECT_TRUE(run.converted_path.isEmpty());

  // A list with no row (or a row the list does not have) passes no value.
  job.frame_rate = -1;
  job.video_bitrate = 10;
  job.sampling_rate = -1;
  run = encode::EncoderJobFor(job);
  EXPECT_EQ(run.frame_rate_row, -1);
  EXPECT_EQ(run.frame_rate, "");
  EXPECT_EQ(run.video_bitrate, "");
  EXPECT_EQ(run.sampling_rate, "");
}

struct JobCase {
  const char* name;
  std::function<void(EncoderJob&)> change;
  const char* arguments;
  const char* output_video;
};

TEST_F(EncoderCommandLineTest, BuildsTheParameterStringPieceByPiece) {
  const JobCase cases[] = {
      {"example", [](EncoderJob&) {},
       R"(-i "/in/clip.avi" -vstats -y -s 320x240 -r 15 -b 256 -ab 64 -ar 22050 -ac 2 "@/out/clip.flv")",
       "clip.flv"},
      {"folder with trailing blank and mixed separators",
       [&](EncoderJob& j) { j.output_folder = At("  @/out//\\ "); },
       R"(-i "/in/clip.avi" -vstats -y -s 320x240 -r 15 -b 256 -ab 64 -ar 22050 -ac 2 "@/out/clip.flv")",
       "clip.flv"},
      {"original size and rate, mono, largest values",
       [](EncoderJob& j) {
         j.resolution_row = 0;
         j.frame_rate_row = 0;
         j.frame_rate = "Original";
         j.mono = true;
         j.sampling_rate = "44,100";
         j.video_bitrate = "1600";
       },
       R"(-i "/in/clip.avi" -vstats -y -b 1600 -ab 64 -ar 44100 -ac 1 "@/out/clip.flv")",
       "clip.flv"},
      {"no size row, no rate row",
       [](EncoderJob& j) {
         j.resolution_row = -1;
         j.frame_rate_row = -1;
         j.frame_rate = "";
       },
       R"(-i "/in/clip.avi" -vstats -y -b 256 -ab 64 -ar 22050 -ac 2 "@/out/clip.flv")",
       "clip.flv"},
      {"last size row and a fractional rate",
       [](EncoderJob& j) {
         j.resolution_row = 10;
         j.frame_rate_row = 4;
         j.frame_rate = "7.5";
       },
       R"(-i "/in/clip.avi" -vstats -y -s 800x600 -r 7.5 -b 256 -ab 64 -ar 22050 -ac 2 "@/out/clip.flv")",
       "clip.flv"},
      {"size row past the table", [](EncoderJob& j) { j.resolution_row = 11; },
       R"(-i "/in/clip.avi" -vstats -y -r 15 -b 256 -ab 64 -ar 22050 -ac 2 "@/out/clip.flv")",
       "clip.flv"},
      {"no video bit rate row", [](EncoderJob& j) { j.video_bitrate = ""; },
       R"(-i "/in/clip.avi" -vstats -y -s 320x240 -r 15 -b  -ab 64 -ar 22050 -ac 2 "@/out/clip.flv")",
       "clip.flv"},
      {"audio off ignores the audio values",
       [](EncoderJob& j) {
         j.enabled_audio = false;
         j.mono = true;
       },
       R"(-i "/in/clip.avi" -vstats -y -s 320x240 -r 15 -b 256 -an "@/out/clip.flv")", "clip.flv"},
      {"name in capitals", [](EncoderJob& j) { j.output_video = "clip.FLV"; },
       R"(-i "/in/clip.avi" -vstats -y -s 320x240 -r 15 -b 256 -ab 64 -ar 22050 -ac 2 "@/out/clip.FLV")",
       "clip.FLV"},
      {"name holding .flv inside", [](EncoderJob& j) { j.output_video = "my.flv.old"; },
       R"(-i "/in/clip.avi" -vstats -y -s 320x240 -r 15 -b 256 -ab 64 -ar 22050 -ac 2 "@/out/my.flv.old")",
       "my.flv.old"},
      {"empty name", [](EncoderJob& j) { j.output_video = ""; },
       R"(-i "/in/clip.avi" -vstats -y -s 320x240 -r 15 -b 256 -ab 64 -ar 22050 -ac 2 "@/out/.flv")",
       ".flv"},
      {"name is not trimmed", [](EncoderJob& j) { j.output_video = " my clip "; },
       R"(-i "/in/clip.avi" -vstats -y -s 320x240 -r 15 -b 256 -ab 64 -ar 22050 -ac 2 "@/out/ my clip .flv")",
       " my clip .flv"},
      {"input is trimmed", [](EncoderJob& j) { j.input_video = "  /in/my clip.avi  "; },
       R"(-i "/in/my clip.avi" -vstats -y -s 320x240 -r 15 -b 256 -ab 64 -ar 22050 -ac 2 "@/out/clip.flv")",
       "clip.flv"},
      {"pending converted file with an empty input",
       [](EncoderJob& j) {
         j.input_video = "";
         j.converted_path = "/in/clip_converted.avi";
       },
       R"(-i "/in/clip_converted.avi" -vstats -y -s 320x240 -r 15 -b 256 -ab 64 -ar 22050 -ac 2 "@/out/clip.flv")",
       "clip.flv"},
      {"pending converted file wins over the input",
       [](EncoderJob& j) { j.converted_path = "/in/clip_converted.avi"; },
       R"(-i "/in/clip_converted.avi" -vstats -y -s 320x240 -r 15 -b 256 -ab 64 -ar 22050 -ac 2 "@/out/clip.flv")",
       "clip.flv"},
  };
  for (const JobCase& c : cases) {
    SCOPED_TRACE(c.name);
    EncoderJob job = ExampleJob();
    c.change(job);
    const EncoderRun run = encode::PrepareEncoderRun(job);
    ASSERT_FALSE(run.Stopped()) << run.stop_message.toStdString();
    EXPECT_EQ(run.arguments, At(c.arguments));
    EXPECT_EQ(run.output_video, c.output_video);
    EXPECT_EQ(run.output_flv_path, At("@/out/") + c.output_video);
    EXPECT_EQ(run.run_input_path,
              job.converted_path.isEmpty() ? job.input_video.trimmed() : job.converted_path);
  }
}

TEST_F(EncoderCommandLineTest, StopsWithTheFolderCheckedFirst) {
  struct StopCase {
    const char* output_folder;
    const char* input_video;
    const char* message;
  };
  const StopCase cases[] = {
      {"  ///  ", "/in/clip.avi", "Specified output folder does not exist!"},
      {"", "/in/clip.avi", "Specified output folder does not exist!"},
      {"@/missing", "/in/clip.avi", "Specified output folder does not exist!"},
      {"@/missing", "", "Specified output folder does not exist!"},
      {"@/out", "   ", "Please choose a video file first!"},
  };
  QFile progress(encode::ProgressFilePath(temp_.path()));
  ASSERT_TRUE(progress.open(QIODevice::WriteOnly));
  progress.close();
  for (const StopCase& c : cases) {
    SCOPED_TRACE(c.output_folder);
    EncoderJob job = ExampleJob();
    job.output_folder = At(c.output_folder);
    job.input_video = c.input_video;
    const EncoderRun run = encode::PrepareEncoderRun(job);
    EXPECT_EQ(run.stop_message, c.message);
    EXPECT_TRUE(run.arguments.isEmpty());
    EXPECT_TRUE(run.output_video.isEmpty());
  }
  EXPECT_TRUE(progress.exists()) << "a stopped run leaves the progress file alone";
  EXPECT_FALSE(encode::PrepareEncoderRun(ExampleJob()).Stopped());
  EXPECT_FALSE(progress.exists()) << "a run starts without an old progress file";
}

TEST_F(EncoderCommandLineTest, OutputFolderIsTrimmedAndMustBeListable) {
  QFile file(At("@/out/a file"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  ASSERT_TRUE(QDir(temp_.path()).mkdir("empty"));
  struct FolderCase {
    const char* text;
    bool exists;
    const char* normalised;
  };
  const FolderCase cases[] = {
      {"@/out", true, "@/out"},
      {" @/out/ ", true, "@/out"},
      {"@/out\\/\\", true, "@/out"},
      {"@/empty", true, "@/empty"},  // an existing folder with nothing in it
      {"@/out/a file", false, "@/out/a file"},
      {"@/missing/", false, "@/missing"},
      {"", false, ""},
      {"  ///  ", false, ""},
      {" \\ ", false, ""},
      {" / ", true, ""},  // the root: its files are "" + separator + name
  };
  for (const FolderCase& c : cases) {
    SCOPED_TRACE(c.text);
    QString normalised = "unchanged";
    EXPECT_EQ(encode::OutputFolderExists(At(c.text), &normalised), c.exists);
    EXPECT_EQ(normalised, At(c.normalised));
  }
}

TEST_F(EncoderCommandLineTest, RootFolderGivesAPathInTheRoot) {
  EncoderJob job = ExampleJob();
  job.output_folder = "/";
  const EncoderRun run = encode::PrepareEncoderRun(job);
  ASSERT_FALSE(run.Stopped());
  EXPECT_EQ(run.output_flv_path, "/clip.flv");
  EXPECT_TRUE(run.arguments.endsWith(R"( "/clip.flv")"));
}

// Paths that a naive split at blanks or quotes would break apart.
TEST_F(EncoderCommandLineTest, EncoderGetsEachPathAsOneArgument) {
  // The encoder comes from the program folder and runs in a working folder of its own.
  const QString program_folder = temp_.filePath("program");
  const QString working_folder = temp_.filePath("work");
  ASSERT_TRUE(test_support::PlaceStandIn(encode::EncoderProgramPath(program_folder)));
  ASSERT_TRUE(QDir().mkpath(working_folder));
  const QString odd_folder = At("@/out/-n \"x\" -vstats -y $(id);|&");
  ASSERT_TRUE(QDir().mkpath(odd_folder));
  struct PathCase {
    const char* input;
    QString output_folder;
    const char* output_video;
  };
  const PathCase cases[] = {
      {"/in/my clip.avi", At("@/out"), "my clip"},
      {"/in/say \"hi\" -vstats -y -b 24 -an \"x.avi", At("@/out"), "\" -an \"odd\""},
      {"-rf *.avi", odd_folder, "-y"},
      {"/in/`id`;$HOME|a&&b.avi", odd_folder, "clip"},
  };
  for (const PathCase& c : cases) {
    SCOPED_TRACE(c.input);
    EncoderJob job = ExampleJob();
    job.working_folder = working_folder;
    job.input_video = c.input;
    job.output_folder = c.output_folder;
    job.output_video = c.output_video;
    job.video_bitrate = "";
    const EncoderRun run = encode::PrepareEncoderRun(job);
    ASSERT_FALSE(run.Stopped());
    const QStringList expected = {
        "-i", c.input, "-vstats", "-y",  "-s", "320x240",          "-r", "15", "-b", "", "-ab",
        "64", "-ar",   "22050",   "-ac", "2",  run.output_flv_path};
    EXPECT_EQ(encode::SplitEncoderArguments(run.arguments, run.run_input_path), expected);

    QFile::remove(QDir(working_folder).filePath("stand_in_record.txt"));
    auto encoder = encode::StartEncoder(program_folder, working_folder, run);
    ASSERT_NE(encoder, nullptr);
    ASSERT_TRUE(test_support::WaitUntil([&] { return encoder->HasEnded(); }));
    const QStringList record = test_support::StandInRecord(working_folder);
    ASSERT_FALSE(record.isEmpty());
    EXPECT_EQ(record.first(), QFileInfo(working_folder).canonicalFilePath());
    EXPECT_EQ(record.mid(1), expected);
  }
}

TEST_F(EncoderCommandLineTest, SplitRefusesAStringOfAnotherInput) {
  const EncoderRun run = encode::PrepareEncoderRun(ExampleJob());
  EXPECT_TRUE(encode::SplitEncoderArguments(run.arguments, "/in/other.avi").isEmpty());
  EXPECT_TRUE(
      encode::SplitEncoderArguments(R"(-i "/in/clip.avi" -vstats)", "/in/clip.avi").isEmpty());
}

}  // namespace
