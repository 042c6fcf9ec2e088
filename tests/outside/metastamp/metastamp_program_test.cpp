// The metastamp program as the app runs it, on clips ffmpeg makes at test time. What it writes
// is judged by peers: flvmeta checks the file and lists its tags, ffprobe reads it back.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>
#include <csignal>

#include "run_program.h"
#include "special_files.h"

namespace {

const QString kMetastamp = QStringLiteral(REELWRIGHT_PROGRAM_DIR "/metastamp");

using Result = test_support::ProgramRun;
using test_support::RunProgram;

bool FfmpegCanEncode(const QString& encoder) {
  const Result list = RunProgram("ffmpeg", {"-hide_banner", "-encoders"});
  return list.out.contains(" " + encoder + " ");
}

// Makes `path` with ffmpeg: `options` hold the sources, codecs and length.
void MakeClip(const QString& path, const QStringList& options) {
  const Result made =
      RunProgram("ffmpeg", QStringList{"-loglevel", "error", "-y"} + options + QStringList{path});
  ASSERT_EQ(made.exit_code, 0) << made.err.toStdString();
}

QByteArray Contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QJsonObject Json(const Result& result) {
  return QJsonDocument::fromJson(result.out.toUtf8()).object();
}

// Expects one onMetaData in `flv`, ours, first, with the file's size and its key frames the tags
// flvmeta sees as seekable, and flvmeta's check without errors; returns its properties.
QJsonObject ExpectOneTrueOnMetaData(const QString& flv) {
  const Result check = RunProgram("flvmeta", {"--check", flv});
  EXPECT_TRUE(check.out.contains("\n0 error(s)") || check.out.startsWith("0 error(s)"))
      << check.out.toStdString();
  const QJsonArray tags =
      Json(RunProgram("flvmeta", {"--full-dump", "--json", flv}))["tags"].toArray();
  QJsonObject metadata;
  QJsonArray seek_times, seek_positions;
  for (const auto& value : tags) {
    const QJsonObject tag = value.toObject();
    if (tag["type"] == "scriptData") {
      const QJsonObject script = tag["scriptDataObject"].toObject();
      if (script["name"] != "onMetaData") continue;
      EXPECT_TRUE(metadata.isEmpty()) << "a second onMetaData at " << tag["offset"].toInt();
      EXPECT_EQ(tag["offset"].toInt(), 13);
      metadata = script["metadata"].toObject();
    } else if (tag["type"] == "video" &&
               (tag["videoData"].toObject()["frameType"] == "keyframe" ||
                tag["videoData"].toObject()["frameType"] == "seekable frame")) {
      const double time = tag["timestamp"].toInt() / 1000.0;
      if (!seek_times.isEmpty() && seek_times.last().toDouble() == time) continue;
      seek_times.append(time);
      seek_positions.append(tag["offset"]);
    }
  }
  EXPECT_FALSE(metadata.isEmpty());
  EXPECT_EQ(metadata["metadatacreator"].toString(), "Reelwright metastamp");
  EXPECT_EQ(metadata["filesize"].toInteger(), QFileInfo(flv).size());
  const QJsonObject keyframes = metadata["keyframes"].toObject();
  EXPECT_EQ(keyframes["times"].toArray(), seek_times);
  EXPECT_EQ(keyframes["filepositions"].toArray(), seek_positions);
  EXPECT_GE(seek_times.size(), 1);
  return metadata;
}

struct Clip {
  const char* name;
  const char* encoder;  // the video encoder ffmpeg needs
  QStringList options;  // ffmpeg options between the sources and the output
  bool audio;
  const char* probed_codec;
  int width;
  int height;
};

const QStringList kSine = {"-f", "lavfi", "-i", "sine=frequency=440"};

QStringList Picture(const char* size_and_rate) {
  return {"-f", "lavfi", "-i", QString("testsrc=") + size_and_rate};
}

const Clip kClips[] = {
    {"SorensonWithMp3", "flv",
     Picture("size=160x120:rate=15") + kSine +
         QStringList{"-t", "2", "-c:v", "flv", "-c:a", "libmp3lame"},
     true, "flv1", 160, 120},
    {"SorensonSilentNtscOddSize", "flv",
     Picture("size=101x75:rate=30000/1001") + QStringList{"-t", "2", "-c:v", "flv", "-an"}, false,
     "flv1", 101, 75},
    {"H264CroppedWithAac", "libx264",
     Picture("size=162x122:rate=25") + kSine +
         QStringList{"-t", "2", "-c:v", "libx264", "-pix_fmt", "yuv420p", "-c:a", "aac"},
     true, "h264", 162, 122},
    {"ScreenVideo", "flashsv",
     Picture("size=100x75:rate=10") + QStringList{"-t", "2", "-c:v", "flashsv"}, false, "flashsv",
     100, 75},
    {"ScreenVideo2", "flashsv2",
     Picture("size=100x75:rate=10") + QStringList{"-t", "2", "-c:v", "flashsv2"}, false, "flashsv2",
     100, 75},
    {"Vp6", "vp6", Picture("size=176x144:rate=15") + QStringList{"-t", "2", "-c:v", "vp6"}, false,
     "vp6f", 176, 144},
};

void PrintTo(const Clip& clip, std::ostream* out) {
  *out << clip.name;
}

class StampedClip : public testing::TestWithParam<Clip> {};

TEST_P(StampedClip, PassesThePeersAndReportsItsSize) {
  const Clip& clip = GetParam();
  if (!FfmpegCanEncode(clip.encoder)) {
    GTEST_SKIP() << "this ffmpeg has no " << clip.encoder
                 << " encoder; its picture header is covered by the reader tests";
  }
  QTemporaryDir folder;
  const QString flv = folder.filePath("clip.flv");
  MakeClip(flv, clip.options);
  const QStringList probe_options = {"-v",   "error", "-show_streams", "-show_format", "-of",
                                     "json", flv};
  const QJsonObject before = Json(RunProgram("ffprobe", probe_options));

  const Result stamped = RunProgram(kMetastamp, {flv});
  ASSERT_EQ(stamped.exit_code, 0) << stamped.err.toStdString();
  EXPECT_TRUE(stamped.err.isEmpty()) << stamped.err.toStdString();

  // ffprobe takes the frame rate from onMetaData: it must read as it did with the encoder's own.
  const QJsonObject probe = Json(RunProgram("ffprobe", probe_options));
  const QJsonArray streams = probe["streams"].toArray();
  ASSERT_EQ(streams.size(), clip.audio ? 2 : 1);
  for (const auto& value : streams) {
    const QJsonObject stream = value.toObject();
    if (stream["codec_type"] != "video") continue;
    EXPECT_EQ(stream["codec_name"].toString(), clip.probed_codec);
    EXPECT_EQ(stream["width"].toInt(), clip.width);
    EXPECT_EQ(stream["height"].toInt(), clip.height);
    const QJsonObject encoders = before["streams"].toArray()[stream["index"].toInt()].toObject();
    EXPECT_EQ(stream["avg_frame_rate"], encoders["avg_frame_rate"]);
  }
  const double duration = probe["format"].toObject()["duration"].toString().toDouble();
  const double encoder_duration = before["format"].toObject()["duration"].toString().toDouble();
  EXPECT_NEAR(duration, encoder_duration, 0.1);

  const QJsonObject metadata = ExpectOneTrueOnMetaData(flv);
  EXPECT_EQ(metadata["hasAudio"].toBool(), clip.audio);
  EXPECT_EQ(metadata["width"].toInt(), clip.width);

  const QByteArray first = Contents(flv);
  ASSERT_EQ(RunProgram(kMetastamp, {flv}).exit_code, 0);
  EXPECT_EQ(Contents(flv), first) << "a second run changed the file";

  const Result report = RunProgram(kMetastamp, {flv, "/x"});
  ASSERT_EQ(report.exit_code, 0) << report.err.toStdString();
  EXPECT_EQ(QString::fromUtf8(Contents(folder.filePath("clip.xml"))),
            QString("<?xml version=\"1.0\"?>\n<root>\n  <width>%1</width>\n  <height>%2</height>\n"
                    "</root>\n")
                .arg(clip.width)
                .arg(clip.height));
  EXPECT_EQ(Contents(flv), first) << "the size report changed the FLV";
}

INSTANTIATE_TEST_SUITE_P(Clips, StampedClip, testing::ValuesIn(kClips),
                         [](const auto& info) { return std::string(info.param.name); });

QString ReportPath(const QString& flv) {
  return flv.chopped(4) + ".xml";
}

QStringList Listing(const QString& folder) {
  return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

// Expects `result` to be a refusal with exactly one line on stderr naming the file and why.
void ExpectRefusal(const Result& result, const QString& path, const QString& reason) {
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_TRUE(result.err.startsWith("metastamp: " + path + ": " + reason))
      << result.err.toStdString();
  EXPECT_EQ(result.err.count('\n'), 1) << result.err.toStdString();
}

TEST(MetastampRefuses, BadFilesInBothFormsLeavingThemAsTheyWere) {
  QTemporaryDir folder;
  QByteArray clip_bytes;
  {
    const QString clip = folder.filePath("made.flv");
    MakeClip(clip, Picture("size=160x120:rate=15") + kSine +
                       QStringList{"-t", "1", "-c:v", "flv", "-c:a", "libmp3lame"});
    clip_bytes = Contents(clip);
    QFile::remove(clip);
  }
  QByteArray absurd = clip_bytes.left(13);
  absurd.append(QByteArray::fromHex("09ffffff000000000000001200"));
  struct Case {
    const char* name;
    QByteArray bytes;
    const char* reason;
    bool report_anyway;  // the size report needs only the first tags
  };
  const Case cases[] = {
      {"empty.flv", "", "empty file, not an FLV file", false},
      {"other.flv", "RIFF\x10\0\0\0AVI LIST", "not an FLV file", false},
      {"short.flv", "FLV\x01\x05", "truncated: the file ends inside the FLV header", false},
      {"absurd.flv", absurd, "truncated or damaged: the tag at byte 13 announces 16777215", false},
      {"cut.flv", clip_bytes.left(clip_bytes.size() - 100), "truncated", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const QString flv = folder.filePath(c.name);
    QFile file(flv);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(c.bytes);
    file.close();
    const QStringList listed = Listing(folder.path());

    ExpectRefusal(RunProgram(kMetastamp, {flv}), flv, c.reason);
    EXPECT_EQ(Contents(flv), c.bytes);
    EXPECT_EQ(Listing(folder.path()), listed);

    const Result report = RunProgram(kMetastamp, {flv, "/x"});
    const QString xml = ReportPath(flv);
    if (c.report_anyway) {
      EXPECT_EQ(report.exit_code, 0) << report.err.toStdString();
      EXPECT_TRUE(QFile::remove(xml));
    } else {
      ExpectRefusal(report, flv, c.reason);
      EXPECT_FALSE(QFile::exists(xml));
    }
    EXPECT_EQ(Contents(flv), c.bytes);
  }
}

TEST(MetastampRefuses, FoldersAndMissingFiles) {
  QTemporaryDir folder;
  const QString inner = folder.filePath("videos.flv");
  ASSERT_TRUE(QDir().mkdir(inner));
  const QString missing = folder.filePath("missing.flv");
  for (const QStringList& form : {QStringList{}, QStringList{"/x"}}) {
    ExpectRefusal(RunProgram(kMetastamp, QStringList{inner} + form), inner,
                  "is a folder, not an FLV file");
    ExpectRefusal(RunProgram(kMetastamp, QStringList{missing} + form), missing, "no such file");
  }
  EXPECT_EQ(Listing(folder.path()), QStringList{"videos.flv"});
}

// A FIFO, a device, a socket or a folder in the FLV's place is refused at once in both forms,
// and neither it nor a report name taken by one is ever written over.
TEST(MetastampRefuses, FilesThatAreNotPlainFilesAtOnceAndUntouched) {
  QTemporaryDir folder;
  const QString good = folder.filePath("good.flv");
  MakeClip(good, Picture("size=64x48:rate=10") + QStringList{"-t", "0.5", "-c:v", "flv"});
  const QByteArray good_bytes = Contents(good);
  for (const test_support::SpecialKind kind : test_support::AllSpecialKinds()) {
    SCOPED_TRACE(test_support::KindName(kind));
    const QString name = QString("special-%1").arg(static_cast<int>(kind));
    const QString flv = folder.filePath(name + ".flv");
    const QString xml = folder.filePath("good.xml");
    QString cannot = test_support::MakeSpecialFile(kind, flv);
    if (cannot.isEmpty()) cannot = test_support::MakeSpecialFile(kind, xml);
    if (!cannot.isEmpty()) {
      std::printf("skipped the %s here: %s\n", test_support::KindName(kind), qPrintable(cannot));
      continue;
    }
    const QString flv_before = test_support::Describe(flv);
    const QString xml_before = test_support::Describe(xml);
    const char* reason = kind == test_support::SpecialKind::kFolder ? "is a folder, not an FLV file"
                                                                    : "is not a regular file";
    for (const QStringList& form : {QStringList{}, QStringList{"/x"}}) {
      // Bounded: a run that waits on the FIFO is killed and fails here.
      ExpectRefusal(RunProgram(kMetastamp, QStringList{flv} + form, 10000), flv, reason);
      EXPECT_EQ(test_support::Describe(flv), flv_before);
    }
    ExpectRefusal(RunProgram(kMetastamp, {good, "/x"}, 10000), good, "cannot replace " + xml);
    EXPECT_EQ(test_support::Describe(xml), xml_before);
    EXPECT_EQ(Contents(good), good_bytes);
    QFile::remove(xml + ".target");
    ASSERT_TRUE(QFile::remove(xml) || QDir().rmdir(xml));
  }
}

// Killed outright, metastamp cannot clean up: the new file must have had no name yet.
TEST(MetastampStamps, AKilledRunLeavesNothingBeside) {
  QTemporaryDir folder;
  if (!test_support::FolderTakesUnnamedFiles(folder.path()))
    GTEST_SKIP() << "this file system makes no unnamed files; a kill -9 leaves the named one";
  const QString flv = folder.filePath("clip.flv");
  // Noise keeps the file large (some 30 MB), so that copying and flushing it take a while.
  MakeClip(flv, {"-f", "lavfi", "-i", "testsrc=size=640x480:rate=25,noise=alls=100:allf=t", "-t",
                 "4", "-c:v", "flv", "-q:v", "2", "-g", "250"});
  const QByteArray before = Contents(flv);
  const QString in_folder = QFileInfo(folder.path()).canonicalFilePath() + "/";
  const QString source = in_folder + "clip.flv";
  bool killed = false;
  // The new file is open from its creation to the rename (named or not); kill the run then.
  for (int attempt = 0; attempt < 20 && !killed; ++attempt) {
    QProcess process;
    process.start(kMetastamp, {flv});
    ASSERT_TRUE(process.waitForStarted());
    const QString fds = QString("/proc/%1/fd").arg(process.processId());
    while (!process.waitForFinished(1)) {
      bool writing = false;
      for (int fd = 0; fd < 64 && !writing; ++fd) {
        char target[4096] = {};
        const QByteArray link = QFile::encodeName(fds + "/" + QString::number(fd));
        if (::readlink(link.constData(), target, sizeof target - 1) > 0)
          writing = QString(target).startsWith(in_folder) && QString(target) != source;
      }
      if (writing) {
        ::kill(static_cast<pid_t>(process.processId()), SIGKILL);
        killed = true;
        break;
      }
    }
    process.waitForFinished();
    if (!killed) {  // stamped before it could be caught: start again from the same file
      QFile file(flv);
      ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
      file.write(before);
    }
  }
  if (!killed) GTEST_SKIP() << "every run ended before it could be killed";
  EXPECT_EQ(Listing(folder.path()), QStringList{"clip.flv"});
  EXPECT_EQ(Contents(flv), before);
}

qint64 AllocatedBytes(const QString& path) {
  struct stat info {};
  return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? qint64(info.st_blocks) * 512
                                                                 : -1;
}

// A long sparse tail (zeros never written, read as empty tags) stays sparse: the copy must not
// turn a hole into as many written zeros.
TEST(MetastampStamps, KeepsHolesAsHoles) {
  QTemporaryDir folder;
  const QString flv = folder.filePath("clip.flv");
  MakeClip(flv, Picture("size=160x120:rate=15") + QStringList{"-t", "1", "-c:v", "flv"});
  // Zeros read as empty tags of 15 bytes each (header and size field); whole ones end cleanly.
  constexpr qint64 kHole = qint64(15) << 24;
  ASSERT_TRUE(QFile::resize(flv, QFileInfo(flv).size() + kHole));
  if (AllocatedBytes(flv) > kHole / 2) GTEST_SKIP() << "this file system makes no holes";

  ASSERT_EQ(RunProgram(kMetastamp, {flv}).exit_code, 0);
  EXPECT_TRUE(Contents(flv).left(1024).contains("onMetaData"));
  EXPECT_GT(QFileInfo(flv).size(), kHole);
  EXPECT_LT(AllocatedBytes(flv), 4 << 20);
}

TEST(MetastampRefuses, ASizeReportForSoundWithoutPictures) {
  QTemporaryDir folder;
  const QString flv = folder.filePath("sound.flv");
  MakeClip(flv, kSine + QStringList{"-t", "1", "-c:a", "libmp3lame"});
  ASSERT_EQ(RunProgram(kMetastamp, {flv}).exit_code, 0);  // its onMetaData is fine without video
  ExpectRefusal(RunProgram(kMetastamp, {flv, "/x"}), flv, "no frame size found");
  EXPECT_FALSE(QFile::exists(ReportPath(flv)));
}

TEST(MetastampRefuses, AFullDiskLeavingTheVideoAndNoTemporaryFile) {
  QTemporaryDir folder;
  const QString flv = folder.filePath("clip.flv");
  MakeClip(flv, Picture("size=160x120:rate=15") + QStringList{"-t", "2", "-c:v", "flv"});
  const QByteArray before = Contents(flv);
  ASSERT_GT(before.size(), 32 * 1024);
  // A 16 KiB file size limit makes writing the new file fail as a full disk would.
  const Result result =
      RunProgram("bash", {"-c", "ulimit -f 16; exec \"$0\" \"$1\"", kMetastamp, flv});
  ExpectRefusal(result, flv, "cannot write the new file: File too large");
  EXPECT_EQ(Contents(flv), before);
  EXPECT_EQ(Listing(folder.path()), QStringList{"clip.flv"});
}

TEST(MetastampStamps, ThroughALinkKeepingPermissionsAndTheLink) {
  QTemporaryDir folder;
  const QString flv = folder.filePath("clip.flv");
  MakeClip(flv, Picture("size=160x120:rate=15") + QStringList{"-t", "1", "-c:v", "flv"});
  const auto permissions =
      QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
  ASSERT_TRUE(QFile::setPermissions(flv, permissions));
  const QString link = folder.filePath("link.flv");
  ASSERT_TRUE(QFile::link(flv, link));

  ASSERT_EQ(RunProgram(kMetastamp, {link}).exit_code, 0);
  EXPECT_TRUE(QFileInfo(link).isSymLink());
  EXPECT_TRUE(Contents(flv).contains("Reelwright metastamp"));
  const auto owner_group_other = QFile::Permissions(0x7077);  // not Qt's "current user" bits
  EXPECT_EQ(QFile::permissions(flv) & owner_group_other, permissions);
  EXPECT_EQ(Listing(folder.path()), (QStringList{"clip.flv", "link.flv"}));
}

TEST(MetastampStamps, FilesOtherToolsHaveStampedBefore) {
  QTemporaryDir folder;
  const QString made = folder.filePath("made.flv");
  MakeClip(made, Picture("size=160x120:rate=15") + kSine +
                     QStringList{"-t", "1", "-c:v", "flv", "-c:a", "libmp3lame"});
  const QString yamdi = folder.filePath("yamdi.flv");
  if (RunProgram("yamdi", {"-i", made, "-o", yamdi}).exit_code != 0)
    GTEST_SKIP() << "no yamdi here";

  ASSERT_EQ(RunProgram(kMetastamp, {yamdi}).exit_code, 0);
  const QByteArray stamped = Contents(yamdi);
  EXPECT_EQ(stamped.count("onMetaData"), 1);
  EXPECT_FALSE(stamped.contains("yamdi"));
  const Result check = RunProgram("flvmeta", {"--check", yamdi});
  EXPECT_TRUE(check.out.contains("0 error(s)")) << check.out.toStdString();
  const Result report = RunProgram(kMetastamp, {folder.filePath("yamdi.flv"), "/x"});
  EXPECT_EQ(report.exit_code, 0);
  EXPECT_TRUE(QFile::exists(folder.filePath("yamdi.xml")));
}

TEST(MetastampReport, NamesTheFileAfterTheLastDot) {
  QTemporaryDir folder;
  const QString flv = folder.filePath("my.flv.old");
  MakeClip(flv,
           Picture("size=64x48:rate=10") + QStringList{"-t", "0.5", "-c:v", "flv", "-f", "flv"});
  ASSERT_EQ(RunProgram(kMetastamp, {flv, "/x"}).exit_code, 0);
  EXPECT_TRUE(QFile::exists(folder.filePath("my.flv.xml")));
  const QString plain = folder.filePath("plain");
  ASSERT_TRUE(QFile::copy(flv, plain));
  ASSERT_EQ(RunProgram(kMetastamp, {plain, "/x"}).exit_code, 0);
  EXPECT_TRUE(QFile::exists(folder.filePath("plain.xml")));
}

TEST(MetastampUsage, WrongArgumentsSayHowToCallIt) {
  for (const QStringList& arguments :
       {QStringList{}, QStringList{"a.flv", "/y"}, QStringList{"a.flv", "/X"},
        QStringList{"a.flv", "-x"}, QStringList{"a.flv", "/x", "more"}}) {
    const Result result = RunProgram(kMetastamp, arguments);
    EXPECT_EQ(result.exit_code, 2);
    EXPECT_EQ(result.err, "usage: metastamp FILE.flv [/x]\n");
  }
}

// A clip whose onMetaData leaves about `room` bytes, as the encoder writes it: ffmpeg writes
// extra metadata as string properties, the same way the encoder reserves its room.
QString MakeClipWithRoom(const QTemporaryDir& folder, const QString& name, int room) {
  const QString flv = folder.filePath(name);
  QStringList options = Picture("size=160x120:rate=15") + kSine +
                        QStringList{"-t", "6", "-g", "15", "-c:v", "flv", "-c:a", "libmp3lame"};
  for (int part = 0; room > 0; ++part, room -= 200)
    options << "-metadata"
            << QString("padding%1=%2").arg(part).arg(QString(std::min(room, 200), ' '));
  MakeClip(flv, options);
  return flv;
}

// The tags after the first (the onMetaData): the sound and pictures, with their sizes.
QByteArray MediaOf(const QByteArray& flv) {
  const int metadata_size = (uchar(flv[14]) << 16) | (uchar(flv[15]) << 8) | uchar(flv[16]);
  return flv.mid(13 + 11 + metadata_size);
}

// A copy renamed over a file is a new file; a file written in place keeps its number.
ino_t Inode(const QString& path) {
  struct stat info {};
  return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

int PacketCount(const QString& flv) {
  const Result probe = RunProgram("ffprobe", {"-v", "error", "-count_packets", "-show_entries",
                                              "stream=nb_read_packets", "-of", "csv=p=0", flv});
  int count = 0;
  for (const QString& line : probe.out.split('\n', Qt::SkipEmptyParts)) count += line.toInt();
  return count;
}

TEST(MetastampInPlace, RewritesOnlyTheOnMetaDataWhenItHasRoom) {
  QTemporaryDir folder;
  const QString flv = MakeClipWithRoom(folder, "room.flv", 2000);
  const QByteArray before = Contents(flv);
  const ino_t inode = Inode(flv);  // a copy would be a new file

  const Result stamped = RunProgram(kMetastamp, {flv});
  ASSERT_EQ(stamped.exit_code, 0) << stamped.err.toStdString();
  const QByteArray after = Contents(flv);
  EXPECT_EQ(after.size(), before.size());
  EXPECT_EQ(Inode(flv), inode);
  EXPECT_EQ(MediaOf(after), MediaOf(before)) << "a byte of sound or pictures changed";
  ExpectOneTrueOnMetaData(flv);
  const Result check = RunProgram("flvmeta", {"--check", flv});
  EXPECT_TRUE(check.out.contains(" 0 warning(s)")) << check.out.toStdString();
  const Result probe = RunProgram("ffprobe", {"-v", "error", flv});
  EXPECT_TRUE(probe.err.isEmpty()) << probe.err.toStdString();

  // The same properties as a copy would give, but for the positions the copy moves.
  const QString copied = folder.filePath("copied.flv");
  MakeClip(copied, Picture("size=160x120:rate=15") + kSine +
                       QStringList{"-t", "6", "-g", "15", "-c:v", "flv", "-c:a", "libmp3lame"});
  ASSERT_EQ(RunProgram(kMetastamp, {copied}).exit_code, 0);
  QJsonObject in_place = ExpectOneTrueOnMetaData(flv);
  QJsonObject by_copy = ExpectOneTrueOnMetaData(copied);
  for (const char* moved : {"filesize", "keyframes", "padding"}) {
    in_place.remove(moved);
    by_copy.remove(moved);
  }
  EXPECT_EQ(in_place, by_copy);
}

TEST(MetastampInPlace, CopiesWhenTheRoomIsTooSmallOrTheLayoutDiffers) {
  QTemporaryDir folder;
  const QString small = MakeClipWithRoom(folder, "small.flv", 10);
  const ino_t inode = Inode(small);
  ASSERT_EQ(RunProgram(kMetastamp, {small}).exit_code, 0);
  EXPECT_NE(Inode(small), inode);
  ExpectOneTrueOnMetaData(small);

  // Room enough, but a second onMetaData further on: a copy drops it.
  const QString twice = MakeClipWithRoom(folder, "twice.flv", 2000);
  QByteArray bytes = Contents(twice);
  const QByteArray media = MediaOf(bytes);
  const QByteArray first_tag = bytes.mid(13, bytes.size() - 13 - media.size());
  bytes.append(first_tag);
  {
    QFile file(twice);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  ASSERT_EQ(RunProgram(kMetastamp, {twice}).exit_code, 0);
  EXPECT_EQ(Contents(twice).count("onMetaData"), 1);
  ExpectOneTrueOnMetaData(twice);
}

// Whatever part of the in-place write is lost, the sound and pictures stay whole and the next
// run writes the onMetaData whole.
TEST(MetastampInPlace, AnInterruptedWriteLeavesTheMediaAndTheNextRunRepairs) {
  QTemporaryDir folder;
  const QString flv = MakeClipWithRoom(folder, "clip.flv", 3000);
  const QByteArray original = Contents(flv);
  const int packets = PacketCount(flv);
  ASSERT_GT(packets, 100);

  // A 1 KiB file size limit cuts the write of a 3 KB onMetaData a third of the way in.
  const Result cut = RunProgram("bash", {"-c", "ulimit -f 1; exec \"$0\" \"$1\"", kMetastamp, flv});
  ExpectRefusal(cut, flv, "cannot write the new onMetaData: File too large");
  const QByteArray half = Contents(flv);
  EXPECT_NE(half.left(1024), original.left(1024)) << "the limit stopped nothing";
  EXPECT_EQ(half.size(), original.size());
  EXPECT_EQ(MediaOf(half), MediaOf(original));
  EXPECT_EQ(PacketCount(flv), packets);
  EXPECT_EQ(Listing(folder.path()), QStringList{"clip.flv"});

  ASSERT_EQ(RunProgram(kMetastamp, {flv}).exit_code, 0);
  const QByteArray repaired = Contents(flv);
  EXPECT_EQ(MediaOf(repaired), MediaOf(original));
  ExpectOneTrueOnMetaData(flv);

  // A killed process or a power cut leaves part of the new bytes over the old ones: the first
  // of them, the last of them, or every other page. Each is repaired to the same file.
  const qsizetype begin = 13 + 11 + 13;  // the properties, after the name
  const qsizetype end = original.size() - MediaOf(original).size();
  const auto apply = [&](qsizetype from, qsizetype to) {
    QByteArray mixed = original;
    mixed.replace(from, to - from, repaired.mid(from, to - from));
    return mixed;
  };
  const QByteArray every_other_kilobyte = [&] {
    QByteArray mixed = original;
    for (qsizetype at = begin; at < end; at += 2048) {
      const qsizetype length = std::min<qsizetype>(1024, end - at);
      mixed.replace(at, length, repaired.mid(at, length));
    }
    return mixed;
  }();
  for (const QByteArray& state :
       {apply(begin, begin + 100), apply(begin + 500, end), every_other_kilobyte}) {
    QFile file(flv);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(state);
    file.close();
    EXPECT_EQ(PacketCount(flv), packets);
    ASSERT_EQ(RunProgram(kMetastamp, {flv}).exit_code, 0);
    EXPECT_EQ(Contents(flv), repaired);
  }
}

}  // namespace
