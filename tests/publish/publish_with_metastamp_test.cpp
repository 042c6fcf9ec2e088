// Publishing with the real metadata tool and the real poster and twin maker on a real FLV made
// by ffmpeg: the page's size is the one the tool measures, the report it writes is gone
// afterwards, and the poster and the MP4 twin stand beside the video.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "publish/output_files.h"
#include "run_program.h"

namespace publish {
namespace {

void Write(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).path());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(bytes);
}

TEST(PublishWithMetastamp, MeasuresTheVideoForThePage) {
  QTemporaryDir program, out, input;
  const QDir program_dir(program.path());
  ASSERT_TRUE(QFile::link(REELWRIGHT_PROGRAM_DIR "/metastamp", program_dir.filePath("metastamp")));
  ASSERT_TRUE(QDir().mkpath(program_dir.filePath("resources")));
  ASSERT_TRUE(QFile::copy(REELWRIGHT_PROGRAM_DIR "/resources/template.htm",
                          program_dir.filePath("resources/template.htm")));
  Write(program_dir.filePath("resources/player.swf"), "FWS player");
  Write(program_dir.filePath("resources/player.ini"),
        "[Minimal Dimensions]\r\nWidth=100\r\nHeight=10\r\n[Increments]\r\nWidth=0\r\n"
        "Height=30\r\n");

  const QString flv = QDir(input.path()).filePath("clip.flv");
  const test_support::ProgramRun made = test_support::RunProgram(
      "ffmpeg", {"-loglevel", "error", "-y", "-f", "lavfi", "-i", "testsrc=size=64x48:rate=10",
                 "-t", "0.5", "-c:v", "flv", flv});
  ASSERT_EQ(made.exit_code, 0) << made.err.toStdString();

  PublishJob job;
  job.program_folder = program.path();
  job.output_folder = out.path();
  job.output_video = "clip";
  job.which_file = 2;
  job.input_flv = flv;
  job.player_file = "player.swf";
  job.page_title = "Clip";
  QStringList messages;
  const PublishResult result = PublishPage(
      job, PublishTools::Real(program.path(), [&](const QString& text) { messages << text; }));
  ASSERT_TRUE(result.published) << messages.join('|').toStdString();
  EXPECT_TRUE(result.generated_html.contains("width=\"100\" height=\"78\""));
  EXPECT_EQ(QDir(out.path()).entryList(QDir::Files),
            QStringList({"clip.flv", "index.html", "player.swf"}));
}

QByteArray Read(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// The inode and the modification time: what changes when a file is made again.
std::pair<ino_t, qint64> Identity(const QString& path) {
  struct stat info {};
  if (::lstat(QFile::encodeName(path).constData(), &info) != 0) return {0, 0};
  return {info.st_ino, qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

TEST(PublishWithWebtwin, MakesThePosterAndTheTwinOnceAndReplacesALinkAtTheirName) {
  QTemporaryDir program, out, input, elsewhere;
  const QDir program_dir(program.path());
  ASSERT_TRUE(QFile::link(REELWRIGHT_PROGRAM_DIR "/metastamp", program_dir.filePath("metastamp")));
  ASSERT_TRUE(QDir().mkpath(program_dir.filePath("resources")));
  ASSERT_TRUE(QFile::link(REELWRIGHT_PROGRAM_DIR "/resources/webtwin",
                          program_dir.filePath("resources/webtwin")));
  ASSERT_TRUE(QFile::copy(REELWRIGHT_PROGRAM_DIR "/resources/template.htm",
                          program_dir.filePath("resources/template.htm")));
  Write(program_dir.filePath("resources/player.swf"), "FWS player");
  Write(program_dir.filePath("resources/player.ini"),
        "[Minimal Dimensions]\r\nWidth=0\r\nHeight=0\r\n[Increments]\r\nWidth=0\r\nHeight=0\r\n");

  const QString flv = QDir(input.path()).filePath("clip.flv");
  const test_support::ProgramRun made = test_support::RunProgram(
      "ffmpeg",
      {"-loglevel", "error", "-y", "-f", "lavfi", "-i", "testsrc=size=64x48:rate=10", "-f", "lavfi",
       "-i", "sine=sample_rate=22050", "-t", "1", "-c:v", "flv", "-c:a", "libmp3lame", flv});
  ASSERT_EQ(made.exit_code, 0) << made.err.toStdString();
  const QString theirs = QDir(elsewhere.path()).filePath("theirs.mp4");
  Write(theirs, "someone else's film");
  const QDir out_dir(out.path());
  ASSERT_TRUE(QFile::link(theirs, out_dir.filePath("clip.mp4")));

  PublishJob job;
  job.program_folder = program.path();
  job.output_folder = out.path();
  job.output_video = "clip";
  job.which_file = 2;
  job.input_flv = flv;
  job.player_file = "player.swf";
  QStringList messages;
  const PublishTools tools =
      PublishTools::Real(program.path(), [&](const QString& text) { messages << text; });
  const PublishResult first = PublishPage(job, tools);
  ASSERT_TRUE(first.published) << messages.join('|').toStdString();
  EXPECT_EQ(first.poster_name, "clip.jpg");
  EXPECT_EQ(first.mp4_name, "clip.mp4");
  EXPECT_FALSE(QFileInfo(out_dir.filePath("clip.mp4")).isSymLink());
  EXPECT_EQ(Read(theirs), "someone else's film");
  const test_support::ProgramRun probed =
      test_support::RunProgram("ffprobe", {"-v", "error", "-show_entries", "stream=codec_name",
                                           "-of", "csv=p=0", out_dir.filePath("clip.mp4")});
  EXPECT_EQ(probed.out.split('\n', Qt::SkipEmptyParts), QStringList({"h264", "aac"}));
  EXPECT_TRUE(Read(out_dir.filePath("clip.jpg")).startsWith("\xff\xd8"));  // a JPEG

  const auto poster = Identity(out_dir.filePath("clip.jpg"));
  const auto twin = Identity(out_dir.filePath("clip.mp4"));
  const PublishResult again = PublishPage(job, tools);
  ASSERT_TRUE(again.published);
  EXPECT_EQ(again.mp4_name, "clip.mp4");
  EXPECT_EQ(Identity(out_dir.filePath("clip.jpg")), poster);  // the video is unchanged
  EXPECT_EQ(Identity(out_dir.filePath("clip.mp4")), twin);
  EXPECT_EQ(out_dir.entryList(QDir::Files | QDir::Hidden),
            QStringList({"clip.flv", "clip.jpg", "clip.mp4", "index.html", "player.swf"}));
  EXPECT_TRUE(messages.isEmpty());
}

}  // namespace
}  // namespace publish
