// reelwright-batch as a user runs it: the real program, encoder and metadata tool in a copy of
// the program folder, clips made here with ffmpeg. Its files are compared byte for byte with
// what the window writes for the same job: the window's encoding run, and publish::PublishPage
// (what Produce Web Page calls) on the window's job.
#include <gtest/gtest.h>
#include <signal.h>
#include <httplib.h>

#include <QDirIterator>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "app/main_dialog.h"
#include "encode/encoding_run.h"
#include "platform/program_folder.h"
#include "platform/scripted_prompter.h"
#include "platform/stand_in_program.h"
#include "program_folder_copy.h"
#include "publish/output_files.h"
#include "publish/publish_job.h"
#include "qt_printers.h"
#include "res/resource.h"
#include "run_program.h"
#include "store/project_reader.h"
#include "store/project_writer.h"
#include "test_clip.h"

namespace {

using test_support::ProgramRun;
using test_support::WaitUntil;

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll()
                                        : QByteArray("<missing " + path.toUtf8() + ">");
}

// Only lines of progress ("0%" ... "100%"); stderr is not a terminal here.
bool OnlyProgressLines(const QString& err) {
  static const QRegularExpression kPercent("^\\d{1,3}%$");
  for (const QString& line : err.split('\n', Qt::SkipEmptyParts))
    if (!kPercent.match(line).hasMatch()) return false;
  return true;
}

class BatchProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(test_support::CopyProgramFolder(REELWRIGHT_PROGRAM_DIR, program_.path()));
    ASSERT_TRUE(QFile::exists(Batch()));
  }

  QString Batch() const { return program_.filePath("reelwright-batch"); }
  QString Work(const QString& name) const { return work_.filePath(name); }

  ProgramRun RunBatch(const QStringList& arguments) {
    return test_support::RunProgram(Batch(), arguments, 120000);
  }

  // A 2-second clip with sound, in a folder of its own under the work folder.
  QString MakeClip(const QString& relative, const QStringList& codec_options) {
    const QString path = Work(relative);
    QDir().mkpath(QFileInfo(path).path());
    test_support::MakeTestClip(path, codec_options);
    return path;
  }
  QString MakeMpeg(const QString& relative) {
    return MakeClip(relative, {"-c:v", "mpeg1video", "-c:a", "mp2"});
  }

  QTemporaryDir program_, work_;
};

TEST_F(BatchProgramTest, EncodesAndPublishesExactlyAsTheWindow) {
  const QString for_window = MakeMpeg("window/clip.mpg");
  const QString for_batch = MakeMpeg("batch/clip.mpg");

  // The window: Browse, Start Encoding, then Produce Web Page's PublishPage on its job.
  platform::OverrideProgramFolder(program_.path());
  platform::ScriptedPrompter prompter;
  auto window = std::make_unique<CMainDialog>();
  window->SetProcessExit([](int) {});
  window->Create(96);
  window->show();
  prompter.QueuePath(for_window);
  QTest::mouseClick(window->Control(IDC_BROWSE_VIDEO), Qt::LeftButton);
  window->GoToPage(2);
  QTest::mouseClick(window->Control(IDC_START_ENCODING), Qt::LeftButton);
  ASSERT_TRUE(WaitUntil([&] { return !window->encoding_run().running(); }, 120000));
  ASSERT_TRUE(window->State().encoded) << prompter.messages().join('|').toStdString();
  std::vector<publish::PlayerSkin> players;
  publish::ScanPlayerSkins(players, program_.path());
  prompter.QueuePath(Work("window/job.reel"));
  QTest::mouseClick(window->Control(IDC_SAVE_AS), Qt::LeftButton);
  const store::ProjectSnapshot window_job =
      store::LoadProjectText(ReadAll(Work("window/job.reel")), store::ProjectSnapshot{});
  const publish::PublishResult published =
      publish::PublishPage(publish::PublishJobFor(window_job, program_.path(), players),
                           publish::PublishTools::Real(program_.path(), [](const QString&) {}));
  ASSERT_TRUE(published.published);
  window->SetCurrentProject(window->State().project_path);
  window.reset();
  platform::OverrideProgramFolder({});

  const ProgramRun run = RunBatch(
      {"--input", for_batch, "--output-folder", Work("batch"), "--save", Work("batch/job.reel")});
  ASSERT_EQ(run.exit_code, 0) << run.err.toStdString();
  EXPECT_EQ(run.out, Work("batch/index.html") + '\n' + Work("batch") + '\n');
  EXPECT_TRUE(OnlyProgressLines(run.err)) << run.err.toStdString();
  EXPECT_TRUE(run.err.endsWith("100%\n")) << run.err.toStdString();

  for (const QString name : {"clip.flv", "index.html", "player.swf", "ruffle/ruffle.js"})
    EXPECT_EQ(ReadAll(Work("batch/" + name)), ReadAll(Work("window/" + name)))
        << name.toStdString();
  // The saved job is the window's, in its own folder.
  EXPECT_EQ(QString::fromUtf8(ReadAll(Work("batch/job.reel"))),
            store::ProjectFileText(window_job).replace(Work("window"), Work("batch")));
  // Each run kept its progress file in a folder of its own, and took it away.
  EXPECT_FALSE(QFile::exists(program_.filePath("stat")));
  EXPECT_FALSE(QFile::exists(program_.filePath("reelwright.ini")));
}

TEST_F(BatchProgramTest, TheSettingsFilesMp4ChoiceIsHonoured) {
  const QString flv = MakeClip("in/ready.flv", {"-c:v", "flv1", "-c:a", "mp3", "-ar", "22050"});
  for (const bool twin : {true, false}) {
    const QString site = Work(twin ? "with" : "without");
    QDir().mkpath(site);
    QFile settings(program_.filePath("reelwright.ini"));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly | QIODevice::Truncate));
    settings.write(twin ? "" : "[MP4Twin]\r\nPublish=0\r\n");
    settings.close();
    const ProgramRun run = RunBatch({"--input", flv, "--output-folder", site});
    ASSERT_EQ(run.exit_code, 0) << run.err.toStdString();
    EXPECT_TRUE(QFile::exists(site + "/ready.jpg")) << twin;  // the poster is always made
    EXPECT_EQ(QFile::exists(site + "/ready.mp4"), twin);
    EXPECT_EQ(ReadAll(site + "/index.html").contains("ready.mp4"), twin);
  }
}

TEST_F(BatchProgramTest, AProjectWithAnExistingFlvIsOnlyPublished) {
  const QString flv = MakeClip("in/ready.flv", {"-c:v", "flv1", "-c:a", "mp3", "-ar", "22050"});
  QDir().mkpath(Work("site"));
  QFile project(Work("job.reel"));
  ASSERT_TRUE(project.open(QIODevice::WriteOnly));
  project.write(("IPFLV=" + flv + "\nOPFOLDER=" + Work("site") +
                 "/\nOPVIDEO=ready\nOPHTML=watch\nWHICHFILE=2\nTITLE=Ready\n")
                    .toUtf8());
  project.close();
  const ProgramRun run = RunBatch({Work("job.reel")});
  ASSERT_EQ(run.exit_code, 0) << run.err.toStdString();
  EXPECT_EQ(run.err, "");  // nothing encoded, nothing to say
  EXPECT_EQ(run.out, Work("site/watch.html") + '\n' + Work("site") + '\n');
  EXPECT_EQ(ReadAll(Work("site/ready.flv")).size(), QFileInfo(flv).size());
  EXPECT_TRUE(ReadAll(Work("site/watch.html")).contains("<title>Ready</title>"));
  EXPECT_TRUE(QFile::exists(Work("site/player.swf")));
}

TEST_F(BatchProgramTest, AVideoTheEncoderCannotReadIsConvertedFirst) {
  const QString movie =
      MakeClip("old/old.avi", {"-c:v", "msvideo1", "-vtag", "CRAM", "-c:a", "pcm_s16le"});
  // Two runs convert the same video at once: each has its temporary file to itself.
  QDir().mkpath(Work("old/a"));
  QDir().mkpath(Work("old/b"));
  QProcess other;
  other.start(Batch(), {"--input", movie, "--output-folder", Work("old/b")});
  const ProgramRun run = RunBatch({"--input", movie, "--output-folder", Work("old/a")});
  ASSERT_TRUE(other.waitForFinished(120000));
  EXPECT_EQ(other.exitCode(), 0) << other.readAllStandardError().toStdString();
  ASSERT_EQ(run.exit_code, 0) << run.err.toStdString();
  // The first run's 0%, the offer with its answer, then the conversion's and the encoding's
  // progress.
  EXPECT_TRUE(run.err.startsWith(QString::fromUtf8(
      "0%\n"
      "reelwright: This video is saved in an unsupported format and can not be encoded. "
      "Reelwright can convert it and create a temporary file. Click Convert if you would like "
      "to do that. \u2014 Convert\n")))
      << run.err.toStdString();
  EXPECT_TRUE(OnlyProgressLines(run.err.section('\n', 2))) << run.err.toStdString();
  EXPECT_EQ(QDir(Work("old")).entryList(QDir::Files), QStringList{"old.avi"});  // nothing left
  for (const QString folder : {"old/a", "old/b"}) {
    const QString codec =
        test_support::RunProgram("ffprobe",
                                 {"-v", "error", "-select_streams", "v:0", "-show_entries",
                                  "stream=codec_name", "-of", "csv=p=0", Work(folder + "/old.flv")})
            .out.trimmed();
    EXPECT_EQ(codec, "flv1") << folder.toStdString();
  }
  EXPECT_EQ(ReadAll(Work("old/a/old.flv")), ReadAll(Work("old/b/old.flv")));
}

TEST_F(BatchProgramTest, FailuresSayTheWindowsMessageAndExitWithOne) {
  const QString movie = MakeMpeg("m/clip.mpg");
  ProgramRun run = RunBatch({"--input", movie, "--output-folder", Work("nowhere")});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.err, "reelwright: Specified output folder does not exist!\n");
  EXPECT_EQ(run.out, "");

  run = RunBatch({Work("missing.reel")});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.err, "reelwright: " + Work("missing.reel") +
                         QString::fromUtf8(" \u2014 Invalid REEL project file.\n"));

  // A file the encoder cannot read and the conversion cannot open either.
  QFile broken(Work("m/broken.avi"));
  ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
  broken.write("not a video at all");
  broken.close();
  run = RunBatch({"--input", Work("m/broken.avi"), "--output-folder", Work("m")});
  EXPECT_EQ(run.exit_code, 1);
  // The conversion's message, as its dialog shows it, is the last line.
  EXPECT_TRUE(run.err.section('\n', -2).startsWith("reelwright: Error while converting file."))
      << run.err.toStdString();
  EXPECT_TRUE(OnlyProgressLines(run.err.section('\n', 2, -3))) << run.err.toStdString();
  EXPECT_FALSE(QFile::exists(Work("m/index.html")));
}

TEST_F(BatchProgramTest, UsageHelpAndVersion) {
  ProgramRun run = RunBatch({});
  EXPECT_EQ(run.exit_code, 2);
  EXPECT_TRUE(run.err.startsWith("reelwright-batch: no job given\n\nUsage: reelwright-batch"));
  run = RunBatch({"--input", "x.avi", "--output-folder", Work(""), "--colour", "red"});
  EXPECT_EQ(run.exit_code, 2);
  EXPECT_TRUE(run.err.startsWith("reelwright-batch: unknown option --colour\n"));
  // A missing video is the job's failure, not a usage error.
  run = RunBatch({"--input", Work("none.avi"), "--output-folder", Work("")});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.err, "reelwright: The video " + Work("none.avi") + " cannot be found.\n");
  run = RunBatch({"--help"});
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_TRUE(run.out.startsWith("Usage: reelwright-batch JOB.reel")) << run.out.toStdString();
  run = RunBatch({"--version"});
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_TRUE(run.out.startsWith("reelwright-batch 1.")) << run.out.toStdString();
}

TEST_F(BatchProgramTest, TwoRunsAtOnceFromOneProgramFolder) {
  const QString first = MakeMpeg("one/first.mpg");
  const QString second = MakeMpeg("two/second.mpg");
  QProcess a, b;
  a.start(Batch(), {"--input", first, "--output-folder", Work("one")});
  b.start(Batch(), {"--input", second, "--output-folder", Work("two")});
  ASSERT_TRUE(a.waitForFinished(120000));
  ASSERT_TRUE(b.waitForFinished(120000));
  EXPECT_EQ(a.exitCode(), 0) << a.readAllStandardError().toStdString();
  EXPECT_EQ(b.exitCode(), 0) << b.readAllStandardError().toStdString();
  // Each saw its own progress to the end, and wrote its own, complete FLV.
  EXPECT_TRUE(QString(a.readAllStandardError()).endsWith("100%\n"));
  EXPECT_TRUE(QString(b.readAllStandardError()).endsWith("100%\n"));
  EXPECT_EQ(ReadAll(Work("one/first.flv")).size(), ReadAll(Work("two/second.flv")).size());
  EXPECT_TRUE(ReadAll(Work("one/index.html")).contains("first.flv"));
  EXPECT_TRUE(ReadAll(Work("two/index.html")).contains("second.flv"));
  EXPECT_FALSE(QFile::exists(program_.filePath("stat")));
}

TEST_F(BatchProgramTest, ASignalStopsTheEncoderAndEndsWithItsNumber) {
  // An encoder that starts, shows progress and waits.
  const QString encoder = program_.filePath("resources/vidforge");
  ASSERT_TRUE(QFile::remove(encoder) && QFile::copy(STAND_IN_ENCODER, encoder));
  const QString clip = MakeMpeg("in/clip.mpg");
  const QString script = Work("script");
  {
    QFile file(script);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(("stat 50\nwait " + Work("go") + "\noutput 10\n").toUtf8());
  }
  for (const int signal : {SIGINT, SIGHUP, SIGTERM}) {
    QFile::remove(script + ".args");
    QProcess batch;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("STAND_IN_ENCODER_SCRIPT", script);
    batch.setProcessEnvironment(environment);
    batch.start(Batch(), {"--input", clip, "--output-folder", Work("in")});
    ASSERT_TRUE(WaitUntil([&] { return QFile::exists(script + ".args"); })) << signal;
    ::kill(static_cast<pid_t>(batch.processId()), signal);
    ASSERT_TRUE(batch.waitForFinished(10000)) << signal;
    EXPECT_EQ(batch.exitStatus(), QProcess::NormalExit) << signal;
    EXPECT_EQ(batch.exitCode(), 128 + signal);
    EXPECT_TRUE(batch.readAllStandardError().endsWith("reelwright: interrupted\n")) << signal;
    EXPECT_FALSE(batch.readAllStandardOutput().contains("index.html"));
  }
  // An encoder left running would now write its FLV.
  QFile(Work("go")).open(QIODevice::WriteOnly);
  QTest::qWait(1000);
  EXPECT_FALSE(QFile::exists(Work("in/clip.flv")));
  EXPECT_FALSE(QFile::exists(Work("in/index.html")));
}

TEST_F(BatchProgramTest, ASignalStopsAConversionUnderWayAndLeavesNoTemporaryFile) {
  // Long enough that converting it all takes a good while.
  const QString movie = Work("old/long.avi");
  QDir().mkpath(Work("old"));
  test_support::MakeTestClip(movie, {"-c:v", "msvideo1", "-vtag", "CRAM", "-c:a", "pcm_s16le"},
                             {"testsrc=size=320x240:rate=25", true, 120});
  QProcess batch;
  batch.start(Batch(), {"--input", movie, "--output-folder", Work("old")});
  QString said;
  // The offer answered, and the conversion under way after it.
  const QRegularExpression converting("Convert\n([0-9]+%\n)*[1-9][0-9]?%\n");
  ASSERT_TRUE(WaitUntil([&] {
    said += batch.readAllStandardError();
    return converting.match(said).hasMatch();
  }, 60000)) << said.toStdString();
  ::kill(static_cast<pid_t>(batch.processId()), SIGTERM);
  ASSERT_TRUE(batch.waitForFinished(10000));
  said += batch.readAllStandardError();
  EXPECT_EQ(batch.exitCode(), 128 + SIGTERM);
  EXPECT_TRUE(said.endsWith("reelwright: interrupted\n")) << said.toStdString();
  EXPECT_FALSE(said.contains("100%")) << "the conversion ran to its end";
  EXPECT_EQ(QDir(Work("old")).entryList(QDir::Files), QStringList{"long.avi"});
  QDirIterator left(program_.path(), {"*.avi"}, QDir::Files, QDirIterator::Subdirectories);
  EXPECT_FALSE(left.hasNext()) << left.next().toStdString();
}

TEST_F(BatchProgramTest, ServesAFolderUntilInterrupted) {
  QDir().mkpath(Work("site"));
  QFile page(Work("site/index.html"));
  ASSERT_TRUE(page.open(QIODevice::WriteOnly));
  page.write("<p>hello</p>");
  page.close();
  QProcess server;
  server.start(Batch(), {"--serve", Work("site")});
  ASSERT_TRUE(WaitUntil(
      [&] { return server.canReadLine() || server.state() == QProcess::NotRunning; }, 20000));
  const QString address = QString::fromUtf8(server.readLine()).trimmed();
  ASSERT_TRUE(address.startsWith("http://127.0.0.1:")) << address.toStdString();
  const int port = address.section(':', 2).section('/', 0, 0).toInt();
  EXPECT_EQ(address, QString("http://127.0.0.1:%1/index.html").arg(port));  // the page's own
  httplib::Client client("127.0.0.1", port);
  for (const char* path : {"/index.html", "/"}) {
    const auto response = client.Get(path);
    ASSERT_TRUE(response) << path;
    EXPECT_EQ(response->body, "<p>hello</p>") << path;
  }
  server.terminate();  // SIGTERM, as an interrupt
  ASSERT_TRUE(server.waitForFinished(10000));
  EXPECT_EQ(server.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(server.exitCode(), 0);

  const ProgramRun missing = RunBatch({"--serve", Work("nowhere")});
  EXPECT_EQ(missing.exit_code, 1);
  EXPECT_EQ(missing.err, "reelwright: Specified output folder does not exist!\n");
}

}  // namespace
