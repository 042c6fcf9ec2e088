// The conversion loop over scripted VideoFile instances, and the Convert Video dialog around it.
#include "encode/video_conversion.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QTimer>
#include <functional>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "encode/encode_video_dialog.h"
#include "platform/scripted_prompter.h"
#include "qt_printers.h"
#include "res/resource.h"
#include "scripted_video_file.h"
#include "ui/skin_progress.h"

namespace {

struct Outcome {
  encode::ConversionResult result;
  QList<int> progress;
};

Outcome Convert(ScriptedVideoFile& reader, ScriptedVideoFile& writer,
                const QString& description = {}) {
  Outcome run;
  encode::ConversionHooks hooks;
  hooks.set_progress = [&run](int percent) { run.progress << percent; };
  hooks.describe_codec = [description](const QString&) { return description; };
  run.result = encode::ConvertToTemporaryAvi(reader, writer, "/in/clip.wmv", hooks);
  return run;
}

QStringList Writes(const ScriptedVideoFile& writer) {
  QStringList writes;
  for (const QString& entry : writer.log)
    if (entry.startsWith('V') || entry.startsWith('A')) writes << entry;
  return writes;
}

TEST(TemporaryAviPath, DropsTheLastFourCharactersOfTheInput) {
  EXPECT_EQ(encode::TemporaryAviPath("/in/clip.wmv"), "/in/clip_converted.avi");
  EXPECT_EQ(encode::TemporaryAviPath("/in/clip.mpeg"), "/in/clip._converted.avi");
  EXPECT_EQ(encode::TemporaryAviPath("ab"), "_converted.avi");
}

TEST(VideoConversion, CopiesTheSettingsAndInterleavesFramesAndBlocks) {
  ScriptedVideoFile reader, writer;
  reader.video_frames = 3;
  reader.audio_blocks = 3;
  reader.video_length_ms = reader.audio_length_ms = 300;
  const Outcome run = Convert(reader, writer);
  ASSERT_TRUE(run.result.succeeded) << run.result.failed_operation.toStdString();
  EXPECT_EQ(run.result.converted_path, "/in/clip_converted.avi");
  EXPECT_EQ(writer.selected, 2);  // the first compressor whose name begins with mp42
  EXPECT_EQ(writer.log.mid(0, 7),
            QStringList({"setting 256", "audio 1", "audio format 22050 2 16",
                         "audio output 22050 2", "video format 160 120 10",
                         "video output 160 120 10", "create /in/clip_converted.avi 1"}));
  EXPECT_EQ(Writes(writer), QStringList({"V0", "A0:2304", "V1", "A1:2304", "V2", "A2:2304"}));
  EXPECT_EQ(writer.log.last(), "close");
  EXPECT_EQ(reader.log.last(), "close");
  EXPECT_EQ(run.progress.first(), 0);
  EXPECT_EQ(run.progress.last(), 100);
  EXPECT_TRUE(std::is_sorted(run.progress.begin(), run.progress.end()));
}

TEST(VideoConversion, AudioThatOutlastsTheVideoEndsWithIt) {
  ScriptedVideoFile reader, writer;
  reader.video_frames = 2;
  reader.audio_blocks = 10;
  reader.video_length_ms = 200;
  reader.audio_length_ms = 1000;
  const Outcome run = Convert(reader, writer);
  ASSERT_TRUE(run.result.succeeded);
  EXPECT_EQ(Writes(writer), QStringList({"V0", "A0:2304", "V1", "A1:2304", "A2:2304"}));
}

TEST(VideoConversion, AVideoWithoutAudioSkipsTheAudioSettings) {
  ScriptedVideoFile reader, writer;
  reader.has_audio = 0;
  reader.video_frames = 3;
  const Outcome run = Convert(reader, writer);
  ASSERT_TRUE(run.result.succeeded);
  EXPECT_FALSE(writer.log.join('|').contains("audio format"));
  EXPECT_EQ(Writes(writer), QStringList({"V0", "V1", "V2"}));
}

TEST(VideoConversion, EachCheckedOperationThatFailsEndsTheConversion) {
  struct Case {
    const char* operation;
    bool on_writer;
    QString message;
    QString converted_path;
  };
  const QString error = "Error while converting file.";
  const QString temporary = "/in/clip_converted.avi";
  const Case cases[] = {
      {"VideoCompressorCount", true, error, ""},
      {"VideoCompressorName", true, error, ""},
      {"OpenInputFile", false, "Error while converting file. Unknown codec.", ""},
      {"AudioValue1", false, error, "/in/clip"},
      {"SetAudioFormat", true, error, "/in/clip"},
      {"SetAudioOutput", true, error, "/in/clip"},
      {"FrameRate", false, error, temporary},
      {"SetVideoOutput", true, error, temporary},
      {"CreateOutputFile", true, error, temporary},
      {"VideoPosition", false, error, temporary},
      {"AudioLength", false, error, temporary},
      {"ReadVideoFrame", false, error, temporary},
      {"ReadAudioBlock", false, error, temporary},
      {"WriteVideoFrame", true, error, temporary},
      {"WriteAudioBlock", true, error, temporary},
      {"CloseFile", false, error, temporary},
      // A writer that cannot finish its file leaves an AVI without index: not converted.
      {"CloseFile", true, error, temporary},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.operation) + (c.on_writer ? " on the writer" : " on the reader"));
    ScriptedVideoFile reader, writer;
    (c.on_writer ? writer : reader).failing.insert(c.operation);
    const Outcome run = Convert(reader, writer);
    EXPECT_FALSE(run.result.succeeded);
    EXPECT_EQ(run.result.message, c.message);
    EXPECT_EQ(run.result.converted_path, c.converted_path);
  }
}

TEST(VideoConversion, AStopBetweenPassesClosesBothAndRemovesTheTemporaryFile) {
  QTemporaryDir folder;
  const QString temporary = folder.filePath("clip_converted.avi");
  ScriptedVideoFile reader, writer;
  int passes = 0;
  encode::ConversionHooks hooks;
  hooks.temporary_folder = folder.path();
  hooks.dispatch_events = [&] {
    // The writer's file as the real control leaves it while it writes.
    if (++passes == 1) QFile(temporary).open(QIODevice::WriteOnly);
  };
  hooks.stop_requested = [&] { return passes == 3; };
  const encode::ConversionResult result =
      encode::ConvertToTemporaryAvi(reader, writer, "/in/clip.wmv", hooks);
  EXPECT_TRUE(result.stopped);
  EXPECT_FALSE(result.succeeded);
  EXPECT_TRUE(result.message.isEmpty());
  EXPECT_TRUE(result.converted_path.isEmpty());
  EXPECT_FALSE(QFile::exists(temporary));
  EXPECT_EQ(writer.log.last(), "close");
  EXPECT_EQ(reader.log.count("close"), 1);
  EXPECT_EQ(Writes(writer).size(), 6);  // three passes of a frame and a block
}

TEST(VideoConversion, UnreadableInputNamesTheMissingCodecWhenItIsKnown) {
  ScriptedVideoFile reader, writer;
  reader.failing.insert("OpenInputFile");
  const Outcome run = Convert(reader, writer, "Microsoft Video 1 (CRAM)");
  EXPECT_EQ(run.result.message,
            "Error while converting file.\nPlease make sure that the following video codec is "
            "installed on your PC:\n\nMicrosoft Video 1 (CRAM)");
}

TEST(VideoConversion, OnlyANameBeginningWithMp42InAnyCaseIsTheCompressor) {
  const std::pair<QStringList, int> cases[] = {
      {{"xmp42 other", "cvid Cinepak"}, 0},
      {{"MP42 upper case"}, 1},
      {{"mp4v", "mp42 v2", "mp42 again"}, 2},
  };
  for (const auto& [names, selected] : cases) {
    ScriptedVideoFile reader, writer;
    writer.compressors = names;
    const Outcome run = Convert(reader, writer);
    EXPECT_EQ(run.result.succeeded, selected != 0);
    if (selected == 0) {
      EXPECT_EQ(run.result.message, "Microsoft MPEG-4 Video Codec V2 is not installed.");
      EXPECT_TRUE(reader.log.isEmpty());  // nothing was opened
    } else {
      EXPECT_EQ(writer.selected, selected);
    }
  }
}

// A Microsoft Video 1 AVI with PCM sound, which the encoder cannot read, of `seconds` length.
void MakeCramAvi(const QString& path, int seconds) {
  ASSERT_EQ(QProcess::execute("ffmpeg", {"-v", "error", "-f", "lavfi", "-i",
                                         "testsrc=size=96x64:rate=10", "-f", "lavfi", "-i",
                                         "sine=sample_rate=22050", "-t", QString::number(seconds),
                                         "-c:v", "msvideo1", "-vtag", "CRAM", "-c:a", "pcm_s16le",
                                         path}),
            0);
}

// The dialog around the conversion, with scripted instances.
class ConvertDialogTest : public ::testing::Test {
 protected:
  videofile::VideoFileFactory Factory(bool works = true) {
    return [this, works](std::string_view) -> std::unique_ptr<videofile::IVideoFile> {
      if (!works) return nullptr;
      auto file = std::make_unique<ScriptedVideoFile>();
      file->failing = failing_;
      return file;
    };
  }
  QSet<QString> failing_;
  platform::ScriptedPrompter prompter_;
};

TEST_F(ConvertDialogTest, OffersConvertThenEncodeWithTheDeleteChoice) {
  CEncodeVideoDialog dialog("/in/clip.wmv", nullptr, Factory());
  ASSERT_TRUE(dialog.Create(96));
  dialog.show();
  EXPECT_EQ(dialog.windowTitle(), "Convert Video");
  for (int id : {IDC_ENCODE, IDC_ENCODE_HINT, IDC_DELETE_NOTE, IDC_DELETE_TEMPORARY})
    EXPECT_TRUE(dialog.Control(id)->isHidden()) << id;

  QTest::mouseClick(dialog.Control(IDC_CONVERT), Qt::LeftButton);
  for (int id : {IDC_ENCODE, IDC_ENCODE_HINT, IDC_DELETE_NOTE, IDC_DELETE_TEMPORARY})
    EXPECT_FALSE(dialog.Control(id)->isHidden()) << id;
  EXPECT_FALSE(dialog.Control(IDC_CONVERT)->isEnabled());
  EXPECT_TRUE(dialog.isEnabled());
  EXPECT_EQ(static_cast<CSkinProgress*>(dialog.Control(IDC_CONVERT_PROGRESS))->value(), 100);

  QTest::mouseClick(dialog.Control(IDC_DELETE_TEMPORARY), Qt::LeftButton);
  QTest::mouseClick(dialog.Control(IDC_ENCODE), Qt::LeftButton);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_TRUE(dialog.delete_choice());
  EXPECT_EQ(dialog.converted_path(), "/in/clip_converted.avi");
  EXPECT_TRUE(prompter_.messages().isEmpty());
}

TEST_F(ConvertDialogTest, AFailureLeavesOnlyCancel) {
  failing_ = {"ReadVideoFrame"};
  CEncodeVideoDialog dialog("/in/clip.wmv", nullptr, Factory());
  ASSERT_TRUE(dialog.Create(96));
  dialog.show();
  QTest::mouseClick(dialog.Control(IDC_CONVERT), Qt::LeftButton);
  EXPECT_EQ(prompter_.messages(), QStringList{"Error while converting file."});
  // The dialog's own message, over the dialog rather than the main window.
  EXPECT_EQ(prompter_.prompts()[0].owner, &dialog);
  EXPECT_EQ(prompter_.prompts()[0].caption, "Reelwright");
  EXPECT_EQ(prompter_.prompts()[0].buttons, QStringList{"OK"});
  EXPECT_FALSE(dialog.Control(IDC_CONVERT)->isEnabled());
  EXPECT_TRUE(dialog.Control(IDC_ENCODE)->isHidden());
  QTest::mouseClick(dialog.Control(IDCANCEL), Qt::LeftButton);
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_FALSE(dialog.delete_choice());
}

TEST_F(ConvertDialogTest, AControlThatCannotBeCreatedIsReportedAndOffersNothing) {
  QWidget main_window;
  CEncodeVideoDialog dialog("/in/clip.wmv", &main_window, Factory(false));
  EXPECT_FALSE(dialog.Create(96));
  EXPECT_EQ(prompter_.messages(), QStringList{"Can't create VideoFile control"});
  // Shown before the dialog is, so over the window that asked for it.
  EXPECT_EQ(prompter_.prompts()[0].owner, &main_window);
  EXPECT_EQ(dialog.DoModal(), QDialog::Rejected);
}

TEST_F(ConvertDialogTest, TheFontFollowsTheDpiAndTheSizeStays) {
  for (auto [dpi, points] : {std::pair{96.0, 8}, {120.0, 6}}) {
    CEncodeVideoDialog dialog("/in/clip.wmv", nullptr, Factory());
    ASSERT_TRUE(dialog.Create(dpi));
    EXPECT_EQ(dialog.font().pointSize(), points);
    EXPECT_EQ(dialog.size(), QSize(399, 293));
  }
}

// Cancel stays usable while the conversion runs and stops it: the dialog closes as Cancel closes
// it, nothing is said, and no temporary file is left. Escape and the close box do the same.
TEST_F(ConvertDialogTest, CancelEscapeOrTheCloseBoxStopAConversionUnderWay) {
  QTemporaryDir folder;
  const QString input = folder.filePath("clip.avi");
  ASSERT_NO_FATAL_FAILURE(MakeCramAvi(input, 20));
  const std::vector<std::function<void(CEncodeVideoDialog&)>> stops = {
      [](CEncodeVideoDialog& d) { QTest::mouseClick(d.Control(IDCANCEL), Qt::LeftButton); },
      [](CEncodeVideoDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); },
      [](CEncodeVideoDialog& d) { d.close(); },
  };
  for (size_t i = 0; i < stops.size(); ++i) {
    SCOPED_TRACE(i);
    CEncodeVideoDialog dialog(input);
    ASSERT_TRUE(dialog.Create(96));
    dialog.show();
    auto* progress = static_cast<CSkinProgress*>(dialog.Control(IDC_CONVERT_PROGRESS));
    int seen = -1;
    // Once the conversion is under way, between two of its passes.
    QTimer::singleShot(0, &dialog, [&] {
      seen = progress->value();
      EXPECT_TRUE(dialog.Control(IDCANCEL)->isEnabled());
      EXPECT_TRUE(QFile::exists(folder.filePath("clip_converted.avi")));
      stops[i](dialog);
    });
    QTest::mouseClick(dialog.Control(IDC_CONVERT), Qt::LeftButton);
    EXPECT_GE(seen, 0);
    EXPECT_LT(seen, 50);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(prompter_.messages().isEmpty()) << prompter_.messages().join('|').toStdString();
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"clip.avi"});
  }
}

TEST_F(ConvertDialogTest, TheRealControlConvertsACramAviIntoAnMp42Avi) {
  QTemporaryDir folder;
  const QString input = folder.filePath("clip.avi");
  ASSERT_NO_FATAL_FAILURE(MakeCramAvi(input, 1));
  CEncodeVideoDialog dialog(input);
  ASSERT_TRUE(dialog.Create(96));
  dialog.show();
  QTest::mouseClick(dialog.Control(IDC_CONVERT), Qt::LeftButton);
  EXPECT_TRUE(prompter_.messages().isEmpty()) << prompter_.messages().join('|').toStdString();
  const QString converted = folder.filePath("clip_converted.avi");
  EXPECT_EQ(dialog.converted_path(), converted);
  QProcess probe;
  probe.start("ffprobe",
              {"-v", "error", "-show_entries", "stream=codec_name", "-of", "csv=p=0", converted});
  ASSERT_TRUE(probe.waitForFinished());
  EXPECT_EQ(QString(probe.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts),
            QStringList({"msmpeg4v2", "pcm_s16le"}));
}

}  // namespace
