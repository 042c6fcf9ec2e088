// The poster and the MP4 twin, made by the built webtwin from FLVs that ffmpeg makes at test
// time, and read back with ffprobe.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include "qt_printers.h"
#include "run_program.h"

namespace {

using test_support::ProgramRun;
using test_support::RunProgram;

const QString kWebtwin = REELWRIGHT_PROGRAM_DIR "/resources/webtwin";

struct Stream {
  QString type;
  QString codec;
  int width = 0;
  int height = 0;
  double duration = 0;
};

std::vector<Stream> Streams(const QString& path) {
  const ProgramRun run = RunProgram(
      "ffprobe", {"-v", "error", "-show_entries",
                  "stream=codec_type,codec_name,width,height,duration", "-of", "json", path});
  std::vector<Stream> streams;
  for (const QJsonValue& value :
       QJsonDocument::fromJson(run.out.toUtf8()).object()["streams"].toArray()) {
    const QJsonObject stream = value.toObject();
    streams.push_back({stream["codec_type"].toString(), stream["codec_name"].toString(),
                       stream["width"].toInt(), stream["height"].toInt(),
                       stream["duration"].toString().toDouble()});
  }
  return streams;
}

std::optional<Stream> StreamOf(const QString& path, const QString& type) {
  for (const Stream& stream : Streams(path)) {
    if (stream.type == type) return stream;
  }
  return std::nullopt;
}

// The average brightness of a picture file's luma, 0..255, as ffmpeg decodes it.
double AverageLuma(const QString& picture) {
  const ProgramRun run = RunProgram(
      "ffprobe", {"-v", "error", "-f", "lavfi", "-i", "movie=" + picture + ",signalstats",
                  "-show_entries", "frame_tags=lavfi.signalstats.YAVG", "-of", "csv=p=0"});
  return run.out.trimmed().toDouble();
}

// How long the file plays, as ffprobe says: up to the end of its last frame or sound.
double Length(const QString& path) {
  const ProgramRun run = RunProgram(
      "ffprobe", {"-v", "error", "-show_entries", "format=duration", "-of", "csv=p=0", path});
  return run.out.trimmed().toDouble();
}

// The names of the top-level boxes of an MP4, in file order.
QStringList TopLevelBoxes(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray bytes = file.readAll();
  QStringList boxes;
  qsizetype at = 0;
  while (at + 8 <= bytes.size()) {
    quint64 size = (quint64(quint8(bytes[at])) << 24) | (quint64(quint8(bytes[at + 1])) << 16) |
                   (quint64(quint8(bytes[at + 2])) << 8) | quint64(quint8(bytes[at + 3]));
    boxes << QString::fromLatin1(bytes.mid(at + 4, 4));
    if (size == 1 && at + 16 <= bytes.size()) {
      size = 0;
      for (int i = 0; i < 8; ++i) size = (size << 8) | quint8(bytes[at + 8 + i]);
    }
    if (size < 8) break;
    at += qsizetype(size);
  }
  return boxes;
}

class WebtwinTest : public ::testing::Test {
 protected:
  QString Path(const QString& name) const { return dir_.filePath(name); }

  // An FLV (Sorenson Spark, and MP3 sound unless `sound` is false) of `seconds` of the test
  // picture at 25 frames a second, after `black_seconds` of black.
  void MakeFlv(const QString& name, double black_seconds, double seconds, bool sound,
               const QString& size = "160x120") {
    const QString black =
        QString("color=black:size=%1:rate=25:duration=%2").arg(size).arg(black_seconds);
    const QString picture = QString("testsrc=size=%1:rate=25:duration=%2").arg(size).arg(seconds);
    QStringList args = {"-v", "error", "-y", "-f", "lavfi", "-i", picture};
    QString video = "0:v";
    if (black_seconds > 0) {
      args += {"-f", "lavfi", "-i", black, "-filter_complex", "[1][0]concat=n=2:v=1:a=0[v]"};
      video = "[v]";
    }
    if (sound) {
      const double length = black_seconds + seconds;
      args += {"-f", "lavfi", "-i", QString("sine=sample_rate=22050:duration=%1").arg(length)};
      args += {"-map", QString::number(black_seconds > 0 ? 2 : 1), "-c:a", "libmp3lame"};
    }
    args += {"-map", video, "-c:v", "flv", Path(name)};
    const ProgramRun made = RunProgram("ffmpeg", args);
    ASSERT_EQ(made.exit_code, 0) << made.err.toStdString();
  }

  ProgramRun Run(const QStringList& arguments, int timeout_ms = 60000) {
    return RunProgram(kWebtwin, arguments, timeout_ms);
  }

  QStringList Entries() const {
    return QDir(dir_.path())
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
  }

  QTemporaryDir dir_;
};

TEST_F(WebtwinTest, PosterIsTheFirstPictureThatIsNotBlack) {
  MakeFlv("clip.flv", 1, 1, true);
  const ProgramRun run = Run({Path("clip.flv"), "--poster", Path("clip.jpg")});
  ASSERT_EQ(run.exit_code, 0) << run.err.toStdString();
  EXPECT_EQ(run.err, "");
  const std::optional<Stream> poster = StreamOf(Path("clip.jpg"), "video");
  ASSERT_TRUE(poster);
  EXPECT_EQ(poster->codec, "mjpeg");
  EXPECT_EQ(poster->width, 160);
  EXPECT_EQ(poster->height, 120);
  // The test picture's colour bars average about half way; black is near 16.
  EXPECT_GT(AverageLuma(Path("clip.jpg")), 80);
  EXPECT_EQ(Entries(), QStringList({"clip.flv", "clip.jpg"}));  // no MP4 asked for, none made
}

TEST_F(WebtwinTest, AllBlackVideoGivesTheFirstPicture) {
  const ProgramRun made = RunProgram(
      "ffmpeg", {"-v", "error", "-f", "lavfi", "-i", "color=black:size=96x64:rate=10:duration=1",
                 "-c:v", "flv", Path("black.flv")});
  ASSERT_EQ(made.exit_code, 0);
  const ProgramRun run = Run({Path("black.flv"), "--poster", Path("black.jpg")});
  ASSERT_EQ(run.exit_code, 0) << run.err.toStdString();
  EXPECT_LT(AverageLuma(Path("black.jpg")), 30);
  EXPECT_EQ(StreamOf(Path("black.jpg"), "video")->width, 96);
}

TEST_F(WebtwinTest, Mp4IsH264AndAacAtTheFlvsSizeAndLengthWithItsIndexFirst) {
  MakeFlv("clip.flv", 0.5, 1.5, true, "176x144");
  const ProgramRun run =
      Run({Path("clip.flv"), "--poster", Path("clip.jpg"), "--mp4", Path("clip.mp4")});
  ASSERT_EQ(run.exit_code, 0) << run.err.toStdString();
  const std::optional<Stream> video = StreamOf(Path("clip.mp4"), "video");
  const std::optional<Stream> audio = StreamOf(Path("clip.mp4"), "audio");
  ASSERT_TRUE(video && audio);
  EXPECT_EQ(video->codec, "h264");
  EXPECT_EQ(audio->codec, "aac");
  EXPECT_EQ(video->width, 176);
  EXPECT_EQ(video->height, 144);
  // Both files end where the FLV's last frame (or sound) ends.
  EXPECT_NEAR(Length(Path("clip.mp4")), Length(Path("clip.flv")), 1.0 / 25 + 0.001);
  const QStringList boxes = TopLevelBoxes(Path("clip.mp4"));
  ASSERT_TRUE(boxes.contains("moov") && boxes.contains("mdat")) << boxes.join(' ').toStdString();
  EXPECT_LT(boxes.indexOf("moov"), boxes.indexOf("mdat"));
  EXPECT_EQ(Entries(), QStringList({"clip.flv", "clip.jpg", "clip.mp4"}));
}

TEST_F(WebtwinTest, FlvWithoutSoundGivesMp4WithoutSound) {
  MakeFlv("quiet.flv", 0, 1, false);
  const ProgramRun run = Run({Path("quiet.flv"), "--mp4", Path("quiet.mp4")});
  ASSERT_EQ(run.exit_code, 0) << run.err.toStdString();
  EXPECT_TRUE(StreamOf(Path("quiet.mp4"), "video"));
  EXPECT_FALSE(StreamOf(Path("quiet.mp4"), "audio"));
  EXPECT_EQ(Entries(), QStringList({"quiet.flv", "quiet.mp4"}));
}

TEST_F(WebtwinTest, OddFrameSizeStillGivesAnMp4) {
  // H.264 in 4:2:0 needs even sizes; the poster keeps the FLV's own.
  MakeFlv("odd.flv", 0, 0.5, false, "161x121");
  const ProgramRun run =
      Run({Path("odd.flv"), "--poster", Path("odd.jpg"), "--mp4", Path("odd.mp4")});
  ASSERT_EQ(run.exit_code, 0) << run.err.toStdString();
  EXPECT_EQ(StreamOf(Path("odd.mp4"), "video")->width, 160);
  EXPECT_EQ(StreamOf(Path("odd.jpg"), "video")->width, 161);
}

TEST_F(WebtwinTest, InputsThatAreNoFlvFailWithOneLineAndLeaveNothing) {
  struct Case {
    const char* name;
    std::function<void(const QString& path)> make;
    QString message;
  };
  const Case cases[] = {
      {"text.flv",
       [](const QString& path) {
         QFile file(path);
         ASSERT_TRUE(file.open(QIODevice::WriteOnly));
         file.write("This is not a video at all.\n");
       },
       "cannot read %1: Invalid data found when processing input"},
      {"avi.flv",
       [](const QString& path) {
         ASSERT_EQ(RunProgram("ffmpeg", {"-v", "error", "-f", "lavfi", "-i",
                                         "testsrc=size=64x48:duration=0.4", "-c:v", "mjpeg", "-f",
                                         "avi", path})
                       .exit_code,
                   0);
       },
       "%1 is not an FLV file"},
      {"missing.flv", [](const QString&) {}, "cannot read %1: no such file"},
  };
  for (const Case& c : cases) {
    const QString input = Path(c.name);
    c.make(input);
    const QStringList before = Entries();
    const ProgramRun run = Run({input, "--poster", Path("out.jpg"), "--mp4", Path("out.mp4")});
    EXPECT_EQ(run.exit_code, 1) << c.name;
    EXPECT_EQ(run.err, "webtwin: " + QString(c.message).arg(input) + "\n") << c.name;
    EXPECT_EQ(Entries(), before) << c.name;
  }
}

TEST_F(WebtwinTest, TruncatedFlvGivesAShorterMp4OrFailsButNeverHangs) {
  MakeFlv("whole.flv", 0, 2, true);
  QFile whole(Path("whole.flv"));
  ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
  const QByteArray bytes = whole.readAll();
  for (const double kept : {0.6, 0.1, 0.01}) {
    QFile cut(Path("cut.flv"));
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly | QIODevice::Truncate));
    cut.write(bytes.left(qsizetype(bytes.size() * kept)));
    cut.close();
    QFile::remove(Path("cut.mp4"));
    QFile::remove(Path("cut.jpg"));

    const ProgramRun run =
        Run({Path("cut.flv"), "--poster", Path("cut.jpg"), "--mp4", Path("cut.mp4")}, 30000);
    ASSERT_TRUE(run.finished) << kept;
    if (run.exit_code == 0) {
      const std::optional<Stream> video = StreamOf(Path("cut.mp4"), "video");
      ASSERT_TRUE(video) << kept;
      EXPECT_EQ(video->codec, "h264");
      EXPECT_LT(video->duration, 2.0) << kept;
    } else {
      EXPECT_EQ(run.exit_code, 1) << kept;
      EXPECT_TRUE(run.err.startsWith("webtwin: ")) << run.err.toStdString();
      EXPECT_FALSE(QFile::exists(Path("cut.mp4"))) << kept;
    }
    for (const QString& entry : Entries())
      EXPECT_FALSE(entry.startsWith('.')) << entry.toStdString();
  }
}

TEST_F(WebtwinTest, LinksAtOutputNamesAreReplacedNotWrittenThrough) {
  MakeFlv("clip.flv", 0, 0.5, false);
  QTemporaryDir elsewhere;
  const QString target = QDir(elsewhere.path()).filePath("keep.mp4");
  {
    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("someone else's file");
  }
  ASSERT_TRUE(QFile::link(target, Path("clip.mp4")));
  ASSERT_TRUE(QFile::link(QDir(elsewhere.path()).filePath("nowhere"), Path("clip.jpg")));

  const ProgramRun run =
      Run({Path("clip.flv"), "--poster", Path("clip.jpg"), "--mp4", Path("clip.mp4")});
  ASSERT_EQ(run.exit_code, 0) << run.err.toStdString();
  for (const QString name : {"clip.mp4", "clip.jpg"}) {
    EXPECT_FALSE(QFileInfo(Path(name)).isSymLink()) << name.toStdString();
    EXPECT_TRUE(QFileInfo(Path(name)).isFile()) << name.toStdString();
  }
  QFile kept(target);
  ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
  EXPECT_EQ(kept.readAll(), "someone else's file");
  EXPECT_EQ(QDir(elsewhere.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
            QStringList({"keep.mp4"}));
}

TEST_F(WebtwinTest, WrongCommandLinesAreRefusedBeforeAnythingIsRead) {
  MakeFlv("clip.flv", 0, 0.2, false);
  ASSERT_TRUE(QDir().mkpath(Path("folder.mp4")));
  const QString usage = "; usage: webtwin INPUT.flv [--poster OUTPUT.jpg] [--mp4 OUTPUT.mp4]\n";
  const struct {
    QStringList arguments;
    QString reason;
  } cases[] = {
      {{Path("clip.flv")}, "nothing to write (--poster, --mp4)"},
      {{"--mp4", Path("a.mp4")}, "no input FLV"},
      {{Path("clip.flv"), "--mp4"}, "--mp4 needs a file name"},
      {{Path("clip.flv"), "--mp4", Path("a.mp4"), "--mp4", Path("b.mp4")}, "--mp4 given twice"},
      {{Path("clip.flv"), "--poster", Path("x"), "--mp4", Path("x")},
       "--poster and --mp4 name the same file"},
      {{Path("clip.flv"), "--mp4", Path("folder.mp4")}, Path("folder.mp4") + " is a folder"},
      {{Path("clip.flv"), "--poster", Path("clip.flv")}, Path("clip.flv") + " is the input itself"},
      {{Path("clip.flv"), "-y", "--mp4", Path("a.mp4")}, "unknown option -y"},
  };
  for (const auto& c : cases) {
    const ProgramRun run = Run(c.arguments);
    EXPECT_EQ(run.exit_code, 2) << c.reason.toStdString();
    EXPECT_EQ(run.err, "webtwin: " + c.reason + usage);
  }
  EXPECT_EQ(Entries(), QStringList({"clip.flv", "folder.mp4"}));
}

}  // namespace
