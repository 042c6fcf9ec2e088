// Publishing with the real metadata tool on a real FLV made by ffmpeg: the page's size is the
// one the tool measures, and the report it writes is gone afterwards.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace publish
