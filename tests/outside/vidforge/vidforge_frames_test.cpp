// The pictures vidforge hands its video encoder are those the ffmpeg command line makes with
// `-vf fps=R,scale=W:H:flags=bicubic,format=yuv420p`: the same frames kept, repeated and dropped,
// the same pixels. vidforge writes them as frame hashes when VIDFORGE_FRAME_HASHES says where.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <map>
#include <utility>
#include <vector>

#include "run_checks.h"
#include "vidforge_harness.h"

namespace vidforge_test {
namespace {

constexpr int kDeadlineMs = 30000;

// A picture as a tick of the output clock and the MD5 of its planes.
using Picture = std::pair<qint64, QString>;

// Lines "tick, md5", as vidforge writes them.
std::vector<Picture> ReadHashes(const QString& path) {
  std::vector<Picture> pictures;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return pictures;
  for (const QByteArray& line : file.readAll().split('\n')) {
    const QList<QByteArray> fields = line.split(',');
    if (fields.size() == 2) pictures.emplace_back(fields[0].toLongLong(), fields[1].trimmed());
  }
  return pictures;
}

// What ffmpeg's framemd5 gives for `input` through `filters`: tick and MD5 of each picture.
std::vector<Picture> FfmpegPictures(const QString& input, const QString& filters) {
  QProcess process;
  process.start("ffmpeg", {"-hide_banner", "-loglevel", "error", "-i", "file:" + input, "-an",
                           "-vf", filters, "-fps_mode", "passthrough", "-f", "framemd5", "-"});
  EXPECT_TRUE(process.waitForFinished(kDeadlineMs));
  EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
  std::vector<Picture> pictures;
  for (const QByteArray& line : process.readAllStandardOutput().split('\n')) {
    if (line.startsWith('#')) continue;
    const QList<QByteArray> fields = line.split(',');
    if (fields.size() == 6)
      pictures.emplace_back(fields[1].trimmed().toLongLong(), fields[5].trimmed());
  }
  return pictures;
}

// Runs vidforge on `input` in `folder` and returns the pictures it encoded.
std::vector<Picture> VidforgePictures(const QTemporaryDir& folder, const QString& input,
                                      const QStringList& settings) {
  const QString hashes = folder.filePath("hashes.txt");
  qputenv("VIDFORGE_FRAME_HASHES", hashes.toUtf8());
  const RunResult run = RunVidforge(
      QStringList{"-i", input, "-y"} + settings + QStringList{"-b", "256", "-an", "out.flv"},
      folder.path());
  qunsetenv("VIDFORGE_FRAME_HASHES");
  EXPECT_TRUE(run.finished);
  EXPECT_EQ(run.exit_code, 0) << run.error_output.toStdString();
  return ReadHashes(hashes);
}

struct FramesCase {
  const char* name;
  const char* file_name;
  QStringList clip;            // ffmpeg arguments making the clip
  qint64 truncate_to_percent;  // 0: whole
  QStringList settings;        // vidforge's size and rate
  QString filters;             // the command line's equivalent
  int expected_count;
};

// testsrc moves every frame, so a frame shown on the wrong tick changes the hash.
QStringList Source(int width, int height, const QString& rate, double seconds) {
  return {"-f", "lavfi", "-i",
          QString("testsrc=size=%1x%2:rate=%3:duration=%4")
              .arg(width)
              .arg(height)
              .arg(rate)
              .arg(seconds)};
}

std::vector<FramesCase> FramesCases() {
  const QString chain = "fps=%1,scale=%2:%3:flags=bicubic,format=yuv420p";
  return {
      // Already the encoder's size and format: no scaling at all.
      {"SourceSizeAndRate",
       "clip.avi",
       Source(320, 240, "25", 2) + QStringList{"-c:v", "mpeg4"},
       0,
       {},
       chain.arg("25").arg(320).arg(240),
       50},
      {"SmallerAndFewerFrames",
       "clip.avi",
       Source(640, 480, "25", 2) + QStringList{"-c:v", "mpeg4"},
       0,
       {"-s", "320x240", "-r", "15"},
       chain.arg("15").arg(320).arg(240),
       30},
      {"LargerAndRepeatedFrames",
       "clip.avi",
       Source(160, 120, "10", 2) + QStringList{"-c:v", "mpeg4"},
       0,
       {"-s", "320x240", "-r", "30"},
       chain.arg("30").arg(320).arg(240),
       60},
      // Frames 40 ms apart, wobbling by up to 13 ms, with a 350 ms gap after frame 30.
      {"VariableFrameRate",
       "clip.mkv",
       Source(320, 240, "25", 3) +
           QStringList{"-vf",
                       "settb=1/1000,setpts='(N*0.04+if(gt(N,30),0.35,0)+0.013*sin(N*1.7))/TB'",
                       "-fps_mode", "passthrough", "-enc_time_base", "1/1000", "-c:v", "mpeg4"},
       0,
       {"-s", "240x180", "-r", "12"},
       chain.arg("12").arg(240).arg(180),
       40},
      // RGB pictures and an NTSC rate.
      {"RgbSourceAtNtscRate",
       "clip.mov",
       Source(200, 150, "25", 2) + QStringList{"-c:v", "png"},
       0,
       {"-s", "320x240", "-r", "29.97"},
       chain.arg("30000/1001").arg(320).arg(240),
       60},
      // Full-range (JPEG) YUV becomes the encoder's limited range.
      {"FullRangeSource",
       "clip.avi",
       Source(320, 240, "25", 2) + QStringList{"-c:v", "mjpeg", "-pix_fmt", "yuvj420p"},
       0,
       {"-s", "160x120", "-r", "10"},
       chain.arg("10").arg(160).arg(120),
       20},
      // Pixels 16:11 wide (PAL 16:9 DV's shape): at the source's size the picture keeps its
      // display shape, the width stretched to an even number.
      {"WidePixelsAtOriginalSize",
       "clip.avi",
       Source(176, 144, "25", 2) + QStringList{"-vf", "setsar=16/11", "-c:v", "mpeg4"},
       0,
       {},
       chain.arg("25").arg(256).arg(144),
       50},
      // Pixels 10:11 wide (NTSC DV's shape): 163.6 pixels become 164.
      {"NarrowPixelsAtOriginalSize",
       "clip.mkv",
       Source(180, 120, "25", 2) + QStringList{"-vf", "setsar=10/11", "-c:v", "mpeg4"},
       0,
       {},
       chain.arg("25").arg(164).arg(120),
       50},
      // A size asked for is taken as it is, whatever the pixels' shape.
      {"WidePixelsAtAListSize",
       "clip.avi",
       Source(176, 144, "25", 2) + QStringList{"-vf", "setsar=16/11", "-c:v", "mpeg4"},
       0,
       {"-s", "320x240"},
       chain.arg("25").arg(320).arg(240),
       50},
      // Cut off in the middle of a packet: what can be decoded is encoded.
      {"TruncatedFile",
       "clip.ts",
       Source(320, 240, "25", 4) + QStringList{"-c:v", "mpeg2video"},
       60,
       {"-s", "320x240", "-r", "20"},
       chain.arg("20").arg(320).arg(240),
       49},
  };
}

void PrintTo(const FramesCase& frames, std::ostream* out) {
  *out << frames.name;
}

class EncodedFrames : public testing::TestWithParam<FramesCase> {};

TEST_P(EncodedFrames, AreThoseOfTheCommandLinesFilters) {
  const FramesCase& frames = GetParam();
  QTemporaryDir folder;
  const QString clip = folder.filePath(frames.file_name);
  ASSERT_NO_FATAL_FAILURE(MakeClip(clip, frames.clip));
  if (frames.truncate_to_percent > 0) {
    QFile file(clip);
    ASSERT_TRUE(file.resize(file.size() * frames.truncate_to_percent / 100 + 77));
  }

  const std::vector<Picture> ours = VidforgePictures(folder, frames.file_name, frames.settings);

  EXPECT_EQ(ours.size(), static_cast<size_t>(frames.expected_count));
  EXPECT_EQ(ours, FfmpegPictures(clip, frames.filters));
}

INSTANTIATE_TEST_SUITE_P(Vidforge, EncodedFrames, testing::ValuesIn(FramesCases()), CaseName());

// The command line starts its filters afresh when the picture size changes, losing the frame
// on show at that moment; vidforge carries on with one clock and a new scaler. Every picture
// the command line gives is still vidforge's on the same tick, and vidforge leaves no tick out.
TEST(EncodedFrames, FollowASizeChangeMidway) {
  QTemporaryDir folder;
  const QString first = folder.filePath("first.ts");
  const QString second = folder.filePath("second.ts");
  ASSERT_NO_FATAL_FAILURE(
      MakeClip(first, Source(320, 240, "25", 2) + QStringList{"-c:v", "mpeg2video"}));
  ASSERT_NO_FATAL_FAILURE(MakeClip(
      second,
      Source(176, 144, "25", 2) + QStringList{"-c:v", "mpeg2video", "-output_ts_offset", "2"}));
  QFile joined(folder.filePath("clip.ts"));
  ASSERT_TRUE(joined.open(QIODevice::WriteOnly));
  for (const QString& part : {first, second}) {
    QFile file(part);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    joined.write(file.readAll());
  }
  joined.close();

  const std::vector<Picture> ours =
      VidforgePictures(folder, "clip.ts", {"-s", "240x180", "-r", "25"});
  const std::vector<Picture> theirs =
      FfmpegPictures(joined.fileName(), "fps=25,scale=240:180:flags=bicubic,format=yuv420p");

  ASSERT_GE(ours.size(), 99u);
  for (size_t i = 0; i < ours.size(); ++i) EXPECT_EQ(ours[i].first, static_cast<qint64>(i));
  const std::map<qint64, QString> by_tick(ours.begin(), ours.end());
  ASSERT_GE(theirs.size(), 95u);
  for (const Picture& picture : theirs) {
    const auto found = by_tick.find(picture.first);
    ASSERT_NE(found, by_tick.end()) << "tick " << picture.first;
    EXPECT_EQ(found->second, picture.second) << "tick " << picture.first;
  }
}

// The first picture of `path` as grey bytes, width x height.
QByteArray FirstPictureInGrey(const QString& path, int width, int height) {
  QProcess process;
  process.start("ffmpeg", {"-hide_banner", "-loglevel", "error", "-i", "file:" + path,
                           "-frames:v", "1", "-f", "rawvideo", "-pix_fmt", "gray", "-"});
  EXPECT_TRUE(process.waitForFinished(kDeadlineMs));
  const QByteArray picture = process.readAllStandardOutput();
  EXPECT_EQ(picture.size(), width * height);
  return picture;
}

// Which corner of a width x height grey picture is the bright one: 0 top left, 1 top right,
// 2 bottom left, 3 bottom right; -1 when none or several are.
int BrightCorner(const QByteArray& picture, int width, int height) {
  if (picture.size() != width * height) return -1;
  const int x[] = {4, width - 5, 4, width - 5};
  const int y[] = {4, 4, height - 5, height - 5};
  int found = -1;
  for (int corner = 0; corner < 4; ++corner) {
    if (static_cast<unsigned char>(picture[y[corner] * width + x[corner]]) < 128) continue;
    if (found >= 0) return -1;
    found = corner;
  }
  return found;
}

struct TurnCase {
  const char* name;
  int turn;  // the rotation flag's value
  bool sideways;
};

void PrintTo(const TurnCase& turn, std::ostream* out) {
  *out << turn.name;
}

class RotationFlag : public testing::TestWithParam<TurnCase> {};

// A clip stored 160x96 with a white block in its top left corner and a rotation flag, as
// phones write them: vidforge shows it the way ffmpeg's own player does, the same pixels.
TEST_P(RotationFlag, TurnsThePictureUpright) {
  const TurnCase& turn = GetParam();
  QTemporaryDir folder;
  const QString stored = folder.filePath("stored.mp4");
  const QString clip = folder.filePath("clip.mp4");
  ASSERT_NO_FATAL_FAILURE(MakeClip(
      stored, {"-f", "lavfi", "-i",
               "color=black:size=160x96:rate=25:duration=1,"
               "drawbox=x=0:y=0:w=40:h=32:color=white:t=fill",
               "-c:v", "mpeg4"}));
  ASSERT_NO_FATAL_FAILURE(MakeClip(clip, {"-i", "file:" + stored, "-c", "copy", "-metadata:s:v:0",
                                          QString("rotate=%1").arg(turn.turn)}));
  const int width = turn.sideways ? 96 : 160;
  const int height = turn.sideways ? 160 : 96;

  const std::vector<Picture> ours = VidforgePictures(folder, "clip.mp4", {});
  EXPECT_EQ(ours.size(), 25u);
  EXPECT_EQ(ours, FfmpegPictures(clip, "fps=25,format=yuv420p"));
  const MediaInfo flv = Probe(folder.filePath("out.flv"));
  ASSERT_TRUE(flv.video);
  EXPECT_EQ(flv.video->width, width);
  EXPECT_EQ(flv.video->height, height);

  // A size asked for is the upright picture's: the block stays in the upright corner.
  const int upright_corner = BrightCorner(FirstPictureInGrey(clip, width, height), width, height);
  ASSERT_GE(upright_corner, 0);
  EXPECT_NE(upright_corner, 0);
  const RunResult sized = RunVidforge(
      {"-i", "clip.mp4", "-y", "-s", "320x240", "-b", "256", "-an", "sized.flv"}, folder.path());
  ASSERT_EQ(sized.exit_code, 0) << sized.error_output.toStdString();
  EXPECT_EQ(BrightCorner(FirstPictureInGrey(folder.filePath("sized.flv"), 320, 240), 320, 240),
            upright_corner);
}

INSTANTIATE_TEST_SUITE_P(Vidforge, RotationFlag,
                         testing::Values(TurnCase{"Quarter", 90, true},
                                         TurnCase{"Half", 180, false},
                                         TurnCase{"ThreeQuarters", 270, true}),
                         CaseName());

}  // namespace
}  // namespace vidforge_test
