// The encoding run in the real window, with a scripted stand-in encoder and a recording
// stand-in metadata tool in a program folder of the test's own.
#include "encode/encoding_run.h"

#include <gtest/gtest.h>

#include <QMenuBar>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "app/main_dialog.h"
#include "encode/encoder_contract.h"
#include "platform/program_folder.h"
#include "platform/scripted_prompter.h"
#include "platform/user_files.h"
#include "platform/stand_in_program.h"
#include "qt_printers.h"
#include "res/resource.h"
#include "ui/skin_button.h"
#include "ui/skin_progress.h"

namespace {

using test_support::WaitUntil;

class EncodingRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(program_.isValid() && work_.isValid());
    ASSERT_TRUE(Place(STAND_IN_ENCODER, Program("resources/vidforge")));
    ASSERT_TRUE(Place(STAND_IN_PROGRAM, Program("metastamp")));
    platform::OverrideProgramFolder(program_.path());
    QDir(work_.path()).mkdir("out");
    WriteFile(Work("in.avi"), "not really a movie");

    dialog_ = std::make_unique<CMainDialog>();
    dialog_->SetProcessExit([](int) {});
    dialog_->Create(96);
    dialog_->show();
    run().SetConversionOffer([this](QWidget*, const QString& input) {
      offers_ << input;
      if (on_offer_) on_offer_();
      return choice_;
    });
    s().input_video->setText(Work("in.avi"));
    s().output_folder->setText(Work("out"));
    s().output_video->setText("clip");
    dialog_->EnableEncodingControls(true);
    dialog_->GoToPage(2);
  }

  void TearDown() override {
    dialog_->SetCurrentProject(dialog_->State().project_path);
    dialog_.reset();
    platform::OverrideProgramFolder({});
  }

  static bool Place(const char* source, const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    return QFile::copy(source, path);
  }
  static void WriteFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
  }
  QString Program(const QString& name) const { return QDir(program_.path()).filePath(name); }
  QString Work(const QString& name) const { return QDir(work_.path()).filePath(name); }
  void Script(const QByteArray& commands) {
    WriteFile(Program("stand_in_encoder_script"), commands);
  }
  QStringList EncoderArguments() const {
    QFile file(Program("stand_in_encoder_args.txt"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
    lines.removeLast();
    return lines;
  }

  // The window takes input: its buttons and its menu (a run holds all but Stop Encoding).
  bool WindowUsable() const {
    return dialog_->isEnabled() && dialog_->Control(IDC_EXIT)->isEnabled() &&
           dialog_->MenuBar()->isEnabled();
  }
  encode::EncodingRun& run() { return dialog_->encoding_run(); }
  ProjectSettings& s() { return dialog_->settings(); }
  int progress() { return dialog_->EncodingProgress()->value(); }
  void StartAndWaitForTheEnd() {
    QTest::mouseClick(dialog_->Control(IDC_START_ENCODING), Qt::LeftButton);
    ASSERT_TRUE(WaitUntil([this] { return !run().running(); }));
  }

  QTemporaryDir program_, work_;
  platform::ScriptedPrompter prompter_;
  std::unique_ptr<CMainDialog> dialog_;
  QStringList offers_;
  encode::ConversionChoice choice_;
  std::function<void()> on_offer_;
};

TEST_F(EncodingRunTest, ChecksTheFolderBeforeTheInputAndChangesNothing) {
  struct Case {
    QString folder, input, message;
  };
  const Case cases[] = {
      {"", "", "Specified output folder does not exist!"},
      {"  ///  ", "x.avi", "Specified output folder does not exist!"},
      {"/no/such/folder", "x.avi", "Specified output folder does not exist!"},
      {"", "  ", "Specified output folder does not exist!"},
      {"out", "  ", "Please choose a video file first!"},
  };
  for (const Case& c : cases) {
    prompter_.Clear();
    s().output_folder->setText(c.folder == "out" ? Work("out") : c.folder);
    s().input_video->setText(c.input);
    QTest::mouseClick(dialog_->Control(IDC_START_ENCODING), Qt::LeftButton);
    EXPECT_EQ(prompter_.messages(), QStringList{c.message});
    EXPECT_EQ(prompter_.prompts()[0].buttons, QStringList{"OK"});
    EXPECT_EQ(prompter_.prompts()[0].caption, "Reelwright");
    EXPECT_EQ(prompter_.prompts()[0].owner, dialog_.get());
    EXPECT_EQ(s().output_video->text(), "clip");
    EXPECT_FALSE(run().running());
    EXPECT_TRUE(WindowUsable());
  }
  EXPECT_TRUE(EncoderArguments().isEmpty());
}

TEST_F(EncodingRunTest, ASuccessfulRunShowsTheTickAndRunsTheMetadataTool) {
  Script("stat 40\noutput 1000\nexit 0\n");
  WriteFile(Program("stat"), QByteArray(77, 'x'));  // left over from an earlier run
  StartAndWaitForTheEnd();

  const QString flv = Work("out") + "/clip.flv";
  EXPECT_EQ(s().output_video->text(), "clip.flv");
  EXPECT_EQ(run().output_flv_path(), flv);
  EXPECT_EQ(EncoderArguments(),
            QStringList({"-i", Work("in.avi"), "-vstats", "-y", "-s", "160x120", "-r", "6", "-b",
                         "24", "-ab", "32", "-ar", "11025", "-ac", "1", flv}));
  EXPECT_EQ(progress(), 100);
  EXPECT_TRUE(dialog_->State().encoded);
  EXPECT_FALSE(dialog_->Control(IDC_ENCODED_TICK)->isHidden());
  EXPECT_TRUE(WindowUsable());
  EXPECT_FALSE(QFile::exists(Program("stat")));
  EXPECT_EQ(test_support::StandInRecord(program_.path()), QStringList({program_.path(), flv}));
  EXPECT_TRUE(offers_.isEmpty());
  EXPECT_TRUE(prompter_.messages().isEmpty());
}

TEST_F(EncodingRunTest, TheBarFollowsTheProgressFileClampedAndTheWindowWaits) {
  Script("stat 250\nwait go\noutput 10\n");
  QTest::mouseClick(dialog_->Control(IDC_START_ENCODING), Qt::LeftButton);
  EXPECT_TRUE(run().running());
  EXPECT_FALSE(WindowUsable());
  EXPECT_EQ(QApplication::overrideCursor() ? QApplication::overrideCursor()->shape() : -1,
            Qt::WaitCursor);
  EXPECT_TRUE(WaitUntil([this] { return progress() == 100; }));
  WriteFile(Program("go"), "");
  ASSERT_TRUE(WaitUntil([this] { return !run().running(); }));
  EXPECT_TRUE(dialog_->State().encoded);
  EXPECT_TRUE(WindowUsable());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(EncodingRunTest, AnEncoderWithoutProgressFileJumpsFromZeroToFull) {
  Script("wait go\noutput 10\n");
  QTest::mouseClick(dialog_->Control(IDC_START_ENCODING), Qt::LeftButton);
  ASSERT_TRUE(WaitUntil([this] { return QFile::exists(Program("stand_in_encoder_args.txt")); }));
  EXPECT_EQ(progress(), 0);
  WriteFile(Program("go"), "");
  ASSERT_TRUE(WaitUntil([this] { return !run().running(); }));
  EXPECT_EQ(progress(), 100);
}

TEST_F(EncodingRunTest, AFailedRunOffersTheConversionAndCancelLeavesTheWindowUsable) {
  Script("stat 60\nexit 1\n");
  StartAndWaitForTheEnd();
  EXPECT_EQ(offers_, QStringList{Work("in.avi")});
  EXPECT_EQ(progress(), 0);
  EXPECT_FALSE(dialog_->State().encoded);
  EXPECT_TRUE(WindowUsable());
  EXPECT_TRUE(run().converted_path().isEmpty());
  EXPECT_FALSE(run().needs_conversion());
  EXPECT_TRUE(test_support::StandInRecord(program_.path()).isEmpty());  // no metadata tool
}

TEST_F(EncodingRunTest, AnEmptyOutputCountsAsFailure) {
  Script("output 0\nexit 0\n");
  StartAndWaitForTheEnd();
  EXPECT_EQ(offers_.size(), 1);
  EXPECT_FALSE(dialog_->State().encoded);
}

// The FLV a failed encoder wrote anyway is no success either: the encoder's word counts.
TEST_F(EncodingRunTest, AnEncoderThatFailsIsNoSuccessWhateverItWrote) {
  Script("output 500\nexit 1\n");
  StartAndWaitForTheEnd();
  EXPECT_FALSE(dialog_->State().encoded);
  EXPECT_EQ(offers_.size(), 1);
  EXPECT_TRUE(test_support::StandInRecord(program_.path()).isEmpty());  // no metadata tool
}

TEST_F(EncodingRunTest, AnFlvLeftFromAnEarlierRunIsNoSuccess) {
  WriteFile(Work("out/clip.flv"), "an older encoding");
  Script("exit 2\n");  // a usage error: the encoder touches nothing
  StartAndWaitForTheEnd();
  EXPECT_FALSE(dialog_->State().encoded);
  EXPECT_EQ(offers_.size(), 1);
}

TEST_F(EncodingRunTest, EncodeAfterConversionEncodesTheTemporaryFileAndDeletesItAfterwards) {
  Script("exit 1\n");
  const QString converted = Work("in_converted.avi");
  WriteFile(converted, "converted");
  choice_ = {true, converted, true};
  on_offer_ = [this] { Script("output 100\nexit 0\n"); };
  StartAndWaitForTheEnd();
  ASSERT_TRUE(WaitUntil([this] { return !run().running(); }));
  EXPECT_EQ(offers_.size(), 1);
  EXPECT_EQ(EncoderArguments().value(1), converted);
  EXPECT_TRUE(dialog_->State().encoded);
  EXPECT_FALSE(QFile::exists(converted));
  EXPECT_TRUE(QFile::exists(Work("in.avi")));
  EXPECT_TRUE(run().converted_path().isEmpty());
}

TEST_F(EncodingRunTest, AConvertedFileThatFailsIsReportedOnceAndKept) {
  Script("exit 1\n");
  const QString converted = Work("in_converted.avi");
  WriteFile(converted, "converted");
  choice_ = {true, converted, true};
  StartAndWaitForTheEnd();
  ASSERT_TRUE(WaitUntil([this] { return !run().running(); }));
  EXPECT_EQ(offers_.size(), 1);
  EXPECT_EQ(prompter_.messages(),
            QStringList{"Converted AVI file can not be encode to FLV format."});
  EXPECT_TRUE(QFile::exists(converted));
  EXPECT_EQ(run().converted_path(), converted);
  EXPECT_TRUE(WindowUsable());

  // Start Encoding starts from the input field again, not from the temporary file.
  Script("output 10\n");
  StartAndWaitForTheEnd();
  EXPECT_EQ(EncoderArguments().value(1), Work("in.avi"));
}

TEST_F(EncodingRunTest, AnEncoderThatCannotStartEndsTheRunSilently) {
  QFile::remove(Program("resources/vidforge"));
  QTest::mouseClick(dialog_->Control(IDC_START_ENCODING), Qt::LeftButton);
  EXPECT_FALSE(run().running());
  EXPECT_TRUE(WindowUsable());
  EXPECT_TRUE(prompter_.messages().isEmpty());
  EXPECT_TRUE(offers_.isEmpty());
}

TEST_F(EncodingRunTest, AnMsVideo1InputIsOfferedTheConversionWithoutTheEncoder) {
  const QString cram = Work("cram.avi");
  const int made = QProcess::execute(
      "ffmpeg", {"-v", "error", "-y", "-f", "lavfi", "-i", "testsrc=size=64x48:rate=5", "-t", "1",
                 "-c:v", "msvideo1", "-vtag", "CRAM", cram});
  ASSERT_EQ(made, 0);
  s().input_video->setText(cram);
  StartAndWaitForTheEnd();
  EXPECT_EQ(offers_, QStringList{cram});
  EXPECT_TRUE(EncoderArguments().isEmpty());
  EXPECT_TRUE(WindowUsable());
}

TEST_F(EncodingRunTest, AMissingOrSoundOnlyInputIsNamedAndNothingStarts) {
  const QString talk = Work("talk.avi");
  ASSERT_EQ(QProcess::execute("ffmpeg", {"-v", "error", "-f", "lavfi", "-i", "sine", "-t", "1",
                                         "-c:a", "pcm_s16le", talk}),
            0);
  const struct {
    QString input, message;
  } cases[] = {
      {Work("gone.avi"), "The video " + Work("gone.avi") + " cannot be found."},
      {talk, talk + " has no picture to encode."},
  };
  for (const auto& c : cases) {
    prompter_.Clear();
    s().input_video->setText(c.input);
    QTest::mouseClick(dialog_->Control(IDC_START_ENCODING), Qt::LeftButton);
    EXPECT_EQ(prompter_.messages(), QStringList{c.message});
    EXPECT_FALSE(run().running());
    EXPECT_TRUE(WindowUsable());
  }
  EXPECT_TRUE(offers_.isEmpty());
  EXPECT_TRUE(EncoderArguments().isEmpty());
}

TEST_F(EncodingRunTest, StopEncodingEndsTheRunKeepsTheOldFlvAndGivesTheWindowBack) {
  WriteFile(Work("out/clip.flv"), "an older encoding");
  auto* button = static_cast<CSkinButton*>(dialog_->Control(IDC_START_ENCODING));
  // By the button, then by Escape.
  const std::function<void()> stops[] = {
      [&] { QTest::mouseClick(button, Qt::LeftButton); },
      [&] { QTest::keyClick(dialog_.get(), Qt::Key_Escape); },
  };
  for (const auto& stop : stops) {
    Script("stat 50\nwait go\noutput 10\n");
    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_TRUE(WaitUntil([this] { return progress() > 0; }));
    EXPECT_FALSE(WindowUsable());
    EXPECT_TRUE(button->isEnabled());
    EXPECT_EQ(button->accessibleName(), "Stop Encoding");
    EXPECT_EQ(button->CurrentFaceId(), IDB_STOP);

    stop();
    EXPECT_FALSE(run().running());
    EXPECT_EQ(progress(), 0);
    EXPECT_FALSE(dialog_->State().encoded);
    EXPECT_TRUE(WindowUsable());
    EXPECT_TRUE(dialog_->isVisible());  // Escape stopped the run, not the program
    EXPECT_EQ(button->accessibleName(), "Start Encoding");
    EXPECT_EQ(button->CurrentFaceId(), IDB_START);
    EXPECT_FALSE(QFile::exists(encode::ProgressFilePath(platform::EncoderWorkingFolder())));
    QFile old(Work("out/clip.flv"));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "an older encoding");
  }
  EXPECT_TRUE(prompter_.messages().isEmpty());
  EXPECT_TRUE(offers_.isEmpty());
  EXPECT_TRUE(test_support::StandInRecord(program_.path()).isEmpty());  // no metadata tool
}

TEST_F(EncodingRunTest, LeavingDuringARunStopsTheEncoderFirst) {
  Script("stat 50\nwait go\noutput 10\n");
  QTest::mouseClick(dialog_->Control(IDC_START_ENCODING), Qt::LeftButton);
  ASSERT_TRUE(WaitUntil([this] { return progress() > 0; }));
  prompter_.QueueAnswer(platform::Answer::No);  // should the job's save question come
  dialog_->close();
  EXPECT_FALSE(run().running());
  EXPECT_FALSE(QFile::exists(encode::ProgressFilePath(platform::EncoderWorkingFolder())));
  // An encoder left running would now write its output.
  WriteFile(Program("go"), "");
  QTest::qWait(1500);
  EXPECT_FALSE(QFile::exists(Work("out/clip.flv")));
}

}  // namespace

