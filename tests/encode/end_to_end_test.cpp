// The whole encoding path as a user meets it: the real window, the real encoder and metadata
// tool in a copy of the program folder, and clips made here with ffmpeg. With
// REELWRIGHT_TIMING_INPUT set to a video, one more test times that video from Start Encoding to
// the tick (bench/encoding-run.sh uses it).
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QCheckBox>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/main_dialog.h"
#include "encode/encode_video_dialog.h"
#include "encode/encoding_run.h"
#include "platform/program_folder.h"
#include "platform/scripted_prompter.h"
#include "platform/stand_in_program.h"
#include "program_folder_copy.h"
#include "qt_printers.h"
#include "real_program_window.h"
#include "res/resource.h"
#include "run_program.h"
#include "ui/skin_progress.h"

namespace {

using test_support::WaitUntil;

// What ffprobe says of the file's first stream of a kind ("v" or "a").
QString Probe(const QString& file, const QString& stream, const QString& entries) {
  return test_support::RunProgram("ffprobe", {"-v", "error", "-select_streams", stream + ":0",
                                              "-show_entries", entries, "-of", "csv=p=0", file})
      .out.trimmed();
}

class EndToEndTest : public RealProgramWindowTest {
 protected:
  void SetUp() override {
    RealProgramWindowTest::SetUp();
    ASSERT_TRUE(QFile::exists(program_.filePath("resources/vidforge")));
    ASSERT_TRUE(QFile::exists(program_.filePath("metastamp")));
  }

  // A 2-second clip with sound.
  QString MakeClip(const QString& name, const QStringList& codec_options) {
    return RealProgramWindowTest::MakeClip(name, codec_options, {});
  }
};

TEST_F(EndToEndTest, AnMpegMovieBecomesAnFlvWithFreshMetadata) {
  const QString movie = MakeClip("holiday.mpg", {"-c:v", "mpeg1video", "-c:a", "mp2"});
  ChooseAndEncode(movie);
  const QString flv = work_.filePath("holiday.flv");
  EXPECT_TRUE(dialog_->State().encoded);
  EXPECT_FALSE(dialog_->Control(IDC_ENCODED_TICK)->isHidden());
  EXPECT_EQ(dialog_->EncodingProgress()->value(), 100);
  EXPECT_TRUE(dialog_->isEnabled());
  EXPECT_FALSE(QFile::exists(program_.filePath("stat")));
  // The default job: 160x120 at 6 frames per second, mono sound at 11,025 Hz.
  EXPECT_EQ(Probe(flv, "v", "stream=codec_name,width,height,r_frame_rate"), "flv1,160,120,6/1");
  EXPECT_EQ(Probe(flv, "a", "stream=codec_name,sample_rate,channels"), "mp3,11025,1");
  QFile file(flv);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(file.read(4096).contains("Reelwright"));  // the metadata tool's signature
  EXPECT_TRUE(prompter_.messages().isEmpty());
}

TEST_F(EndToEndTest, AnMsVideo1MovieIsConvertedThenEncoded) {
  const QString movie =
      MakeClip("old.avi", {"-c:v", "msvideo1", "-vtag", "CRAM", "-c:a", "pcm_s16le"});
  bool offered = false;
  dialog_->encoding_run().SetConversionOffer([&](QWidget* owner, const QString& input) {
    offered = true;
    CEncodeVideoDialog convert(input, owner);
    EXPECT_TRUE(convert.Create(96));
    convert.show();
    convert.OnConvert();
    auto* delete_box = static_cast<QCheckBox*>(convert.Control(IDC_DELETE_TEMPORARY));
    EXPECT_FALSE(delete_box->isHidden());
    QTest::mouseClick(delete_box, Qt::LeftButton);
    QTest::mouseClick(convert.Control(IDC_ENCODE), Qt::LeftButton);
    return encode::ConversionChoice{convert.result() == QDialog::Accepted, convert.converted_path(),
                                    convert.delete_choice()};
  });
  ChooseAndEncode(movie);
  EXPECT_TRUE(offered);
  EXPECT_TRUE(dialog_->State().encoded) << prompter_.messages().join('|').toStdString();
  EXPECT_EQ(Probe(work_.filePath("old.flv"), "v", "stream=codec_name"), "flv1");
  EXPECT_EQ(Probe(work_.filePath("old.flv"), "a", "stream=codec_name"), "mp3");
  EXPECT_FALSE(QFile::exists(work_.filePath("old_converted.avi")));  // deleted as asked
  EXPECT_TRUE(QFile::exists(movie));                                 // never the original
}

TEST_F(EndToEndTest, TimingOfOneInput) {
  const QString movie = qEnvironmentVariable("REELWRIGHT_TIMING_INPUT");
  if (movie.isEmpty()) GTEST_SKIP() << "set REELWRIGHT_TIMING_INPUT to time a video";
  QElapsedTimer conversion;
  qint64 conversion_ms = -1;
  double conversion_cpu = 0;  // seconds of this process's threads: the conversion runs here
  const auto cpu_seconds = [] {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  };
  dialog_->encoding_run().SetConversionOffer([&](QWidget* owner, const QString& input) {
    CEncodeVideoDialog convert(input, owner);
    convert.Create(96);
    convert.show();
    conversion.start();
    const double cpu_before = cpu_seconds();
    convert.OnConvert();
    conversion_ms = conversion.elapsed();
    conversion_cpu = cpu_seconds() - cpu_before;
    convert.OnEncode();
    return encode::ConversionChoice{true, convert.converted_path(), true};
  });
  prompter_.QueuePath(movie);
  QTest::mouseClick(dialog_->Control(IDC_BROWSE_VIDEO), Qt::LeftButton);
  dialog_->GoToPage(2);
  // The job the benchmark asks for: the source's size and rate, 768 kbit/s, sound at 44,100 Hz.
  dialog_->settings().resolution->setCurrentIndex(0);
  dialog_->settings().frame_rate->setCurrentIndex(0);
  dialog_->settings().video_bitrate->setCurrentIndex(7);
  dialog_->settings().sampling_rate->setCurrentIndex(2);
  QElapsedTimer run;
  run.start();
  QTest::mouseClick(dialog_->Control(IDC_START_ENCODING), Qt::LeftButton);
  ASSERT_TRUE(WaitUntil(
      [this] { return dialog_->State().encoded || !dialog_->encoding_run().running(); }, 600000));
  ASSERT_TRUE(WaitUntil([this] { return !dialog_->encoding_run().running(); }, 600000));
  const qint64 total_ms = run.elapsed();
  EXPECT_TRUE(dialog_->State().encoded);
  std::printf("start-to-tick %.2f s%s\n", total_ms / 1000.0,
              conversion_ms >= 0 ? QString(" (of it the conversion %1 s, cpu %2 s)")
                                       .arg(conversion_ms / 1000.0, 0, 'f', 2)
                                       .arg(conversion_cpu, 0, 'f', 2)
                                       .toUtf8()
                                       .constData()
                                 : "");
}

}  // namespace
