// The batch program's command line and message lines, and its job compared with the window's:
// a fresh window, and a window after Browse, hold exactly the job the batch makes.
#include "batch/batch_job.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTest>

#include "app/main_dialog.h"
#include "batch/batch_options.h"
#include "batch/batch_output.h"
#include "platform/scripted_prompter.h"
#include "publish/publish_job.h"
#include "qt_printers.h"
#include "res/resource.h"
#include "store/affiliate_file.h"
#include "store/project_writer.h"
#include "temporary_program_folder.h"

namespace {

using batch::BatchOptions;
using batch::ParseOptions;

TEST(BatchOptionsTest, TheThreeFormsAndTheirValues) {
  auto project = ParseOptions({"job.reel", "--save=copy.reel"});
  ASSERT_TRUE(project.options) << project.error.toStdString();
  EXPECT_EQ(project.options->mode, BatchOptions::Mode::Project);
  EXPECT_EQ(project.options->project, "job.reel");
  EXPECT_EQ(project.options->save, "copy.reel");

  // Values are taken whole, blanks, quotes and leading dashes included.
  auto input = ParseOptions({"--input", "my clip.avi", "--output-folder", "out dir", "--title",
                             "--not an option", "--output-html=page.htm", "--preset", "Web"});
  ASSERT_TRUE(input.options) << input.error.toStdString();
  EXPECT_EQ(input.options->mode, BatchOptions::Mode::Input);
  EXPECT_EQ(input.options->input, "my clip.avi");
  EXPECT_EQ(input.options->output_folder, "out dir");
  EXPECT_EQ(input.options->title, "--not an option");
  EXPECT_EQ(input.options->output_html, "page.htm");
  EXPECT_EQ(input.options->preset, "Web");
  EXPECT_FALSE(input.options->output_video);
  EXPECT_FALSE(input.options->player);

  auto serve = ParseOptions({"--serve", "site"});
  ASSERT_TRUE(serve.options);
  EXPECT_EQ(serve.options->mode, BatchOptions::Mode::Serve);
  EXPECT_EQ(serve.options->serve_folder, "site");

  // A project file named like an option, after "--".
  auto dashed = ParseOptions({"--", "--odd.reel"});
  ASSERT_TRUE(dashed.options);
  EXPECT_EQ(dashed.options->project, "--odd.reel");

  EXPECT_EQ(ParseOptions({"job.reel", "--help"}).options->mode, BatchOptions::Mode::Help);
  EXPECT_EQ(ParseOptions({"--version"}).options->mode, BatchOptions::Mode::Version);
}

TEST(BatchOptionsTest, UsageErrorsSayWhat) {
  const std::pair<QStringList, QString> cases[] = {
      {{}, "no job given"},
      {{"--input", "a.avi"}, "--output-folder is missing"},
      {{"--output-folder", "out"}, "--input is missing"},
      {{"--input"}, "--input needs a value"},
      {{"--input", "a", "--input", "b", "--output-folder", "o"}, "--input is given twice"},
      {{"--bogus"}, "unknown option --bogus"},
      {{"-x"}, "unknown option -x"},
      {{"a.reel", "b.reel"}, "only one project file can be given"},
      {{"a.reel", "--title", "t"}, "a project file takes no --input options, only --save"},
      {{"--serve", "site", "--save", "x.reel"}, "--serve takes no other options"},
  };
  for (const auto& [arguments, error] : cases) {
    const batch::ParsedOptions parsed = ParseOptions(arguments);
    EXPECT_FALSE(parsed.options) << arguments.join(' ').toStdString();
    EXPECT_EQ(parsed.error, error) << arguments.join(' ').toStdString();
  }
}

TEST(BatchOutputTest, EveryMessageIsOneLine) {
  EXPECT_EQ(batch::MessageLine("Specified output folder does not exist!"),
            "reelwright: Specified output folder does not exist!");
  EXPECT_EQ(batch::MessageLine("/a/b.reel\n\nInvalid REEL project file."),
            QString::fromUtf8("reelwright: /a/b.reel \u2014 Invalid REEL project file."));
  EXPECT_EQ(batch::MessageLine("x.html\r\nCould not create the specified HTML file!\r"),
            QString::fromUtf8("reelwright: x.html \u2014 Could not create the specified HTML "
                              "file! \u2014 "));
  EXPECT_EQ(batch::AnsweredLine("Save?", "No"), QString::fromUtf8("reelwright: Save? \u2014 No"));
  EXPECT_EQ(batch::ProgressBar(0), '[' + QString(40, ' ') + "]   0%");
  EXPECT_EQ(batch::ProgressBar(50), '[' + QString(20, '#') + QString(20, ' ') + "]  50%");
  EXPECT_EQ(batch::ProgressBar(100), '[' + QString(40, '#') + "] 100%");
}

class BatchJobTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // What the program keeps between runs, so the start is not simply the defaults.
    store::StoredSettings stored;
    stored.disable_i_button = false;
    stored.players_url.Set(true, "http://players.example/");
    stored.js_url.Set(false, "scripts/code.js");
    store::EncodingPreset web;
    web.name = "Web";
    web.resolution = 3;
    web.frame_rate = 9;
    web.video_bitrate = 4;
    web.enabled_audio = 0;
    web.mono = 0;
    store::EncodingPreset small;
    small.name = "Small";
    stored.presets = {web, small};
    ASSERT_TRUE(store::WriteSettingsFile(program_.FilePath(store::kSettingsFileName), stored));
    program_.Write(store::kAffiliateFileName, "partner-7");
  }

  std::unique_ptr<CMainDialog> OpenWindow() {
    auto dialog = std::make_unique<CMainDialog>();
    dialog->SetProcessExit([](int) {});
    dialog->Create(96);
    dialog->show();
    return dialog;
  }
  void CloseWindow(std::unique_ptr<CMainDialog>& dialog) {
    dialog->SetCurrentProject(dialog->State().project_path);  // nothing to save
    dialog.reset();
  }

  // The window's job as its Save As writes it.
  QString WindowJobText(CMainDialog& window) {
    const QString path = QDir(work_.path()).filePath("window.reel");
    prompter_.QueuePath(path);
    QTest::mouseClick(window.Control(IDC_SAVE_AS), Qt::LeftButton);
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
  }

  TemporaryProgramFolder program_;
  platform::ScriptedPrompter prompter_;
  QTemporaryDir work_;
};

TEST_F(BatchJobTest, AFreshJobAndABrowsedInputAreTheWindows) {
  const store::StoredSettings stored = batch::ReadStoredSettings();
  auto window = OpenWindow();
  const store::ProjectSnapshot fresh = batch::FreshWindowJob(stored);
  EXPECT_EQ(store::ProjectFileText(fresh), WindowJobText(*window));
  EXPECT_EQ(fresh.preset_name, "Web");
  EXPECT_TRUE(fresh.enabled_audio);  // every start turns audio on, whatever the preset says

  for (const QString name : {"holiday.v2.mpg", "ready.FLV"}) {
    const QString path = QDir(work_.path()).filePath(name);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    prompter_.QueuePath(path);
    const int browse = name.endsWith("FLV") ? IDC_BROWSE_FLV : IDC_BROWSE_VIDEO;
    QTest::mouseClick(window->Control(browse), Qt::LeftButton);

    BatchOptions options;
    options.mode = BatchOptions::Mode::Input;
    options.input = path;
    options.output_folder = work_.path();
    QString error;
    const auto job =
        batch::InputJob(options, batch::FreshWindowJob(stored), stored.presets, {}, &error);
    ASSERT_TRUE(job) << error.toStdString();
    EXPECT_EQ(store::ProjectFileText(*job), WindowJobText(*window)) << name.toStdString();
    window = (CloseWindow(window), OpenWindow());
  }
  CloseWindow(window);
}

TEST_F(BatchJobTest, TheCommandLineTypesOverTheBrowsedJob) {
  const QString movie = QDir(work_.path()).filePath("clip.avi");
  QFile(movie).open(QIODevice::WriteOnly);
  const std::vector<publish::PlayerSkin> players = {
      {"a-Steel.swf", "a-Steel.jpg", "Steel"}, {"b-Night_Sky.swf", "b-Night_Sky.jpg", "Night Sky"}};
  const store::StoredSettings stored = batch::ReadStoredSettings();
  BatchOptions options;
  options.input = movie;
  options.output_folder = "relative/out";
  options.output_video = "film";
  options.output_html = "watch";
  options.title = " My page ";
  options.preset = "small";
  options.player = "night sky";
  QString error;
  const auto job =
      batch::InputJob(options, batch::FreshWindowJob(stored), stored.presets, players, &error);
  ASSERT_TRUE(job) << error.toStdString();
  EXPECT_EQ(job->output_folder, QDir::current().absoluteFilePath("relative/out"));
  EXPECT_EQ(job->output_video, "film");  // completed by the run, as in the window
  EXPECT_EQ(job->output_html, "watch");
  EXPECT_EQ(job->page_title, " My page ");
  EXPECT_EQ(job->preset_name, "Small");
  EXPECT_EQ(job->resolution, 1);
  EXPECT_EQ(job->which_player, 1);
  EXPECT_EQ(job->input_video, movie);
  EXPECT_EQ(job->which_file, 1);
  EXPECT_EQ(publish::PublishJobFor(*job, program_.path(), players).player_file, "b-Night_Sky.swf");

  options.player = "b-steel.SWF";
  EXPECT_FALSE(
      batch::InputJob(options, batch::FreshWindowJob(stored), stored.presets, players, &error));
  EXPECT_EQ(error, "no player named \"b-steel.SWF\"; choose one of: Steel, Night Sky");
  options.player.reset();
  options.preset = "Tiny";
  EXPECT_FALSE(
      batch::InputJob(options, batch::FreshWindowJob(stored), stored.presets, players, &error));
  EXPECT_EQ(error, "no preset named \"Tiny\"; choose one of: Web, Small");
  options.input = movie + ".missing";
  EXPECT_FALSE(
      batch::InputJob(options, batch::FreshWindowJob(stored), stored.presets, players, &error));
  EXPECT_EQ(error, "no such file: " + movie + ".missing");
}

TEST_F(BatchJobTest, AProjectOpensAsInTheWindow) {
  const QString path = QDir(work_.path()).filePath("job.reel");
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("TITLE= Trip \r\nRESOLUTION=5\r\nWHICHFILE=2\r\nIPFLV=/v/a.flv\r\nJSURL=1,x.js\n");
  file.close();
  const store::StoredSettings stored = batch::ReadStoredSettings();
  const auto job = batch::OpenProjectJob(path, batch::FreshWindowJob(stored));
  ASSERT_TRUE(job);
  auto window = OpenWindow();
  window->OpenProject(path);
  EXPECT_EQ(store::ProjectFileText(*job), WindowJobText(*window));
  EXPECT_EQ(job->page_title, " Trip ");
  EXPECT_EQ(job->preset_name, "");  // only a PRESET line chooses one
  CloseWindow(window);
  EXPECT_FALSE(batch::OpenProjectJob(path + ".missing", batch::FreshWindowJob(stored)));
}

}  // namespace
