#include <gtest/gtest.h>

#include <QFile>
#include <algorithm>
#include <memory>

#include "media_folder.h"
#include "media_tools.h"
#include "outside/videofile/video_file.h"

namespace videofile_test {
namespace {

using videofile::CreateVideoFile;
using videofile::Failed;
using videofile::IVideoFile;
using videofile::kVideoFileClassId;
using videofile::Status;
using videofile::Succeeded;

constexpr std::size_t kFrameBytes160x120 = 160 * 120 + 2 * 80 * 60;

class VideoFileReader : public ::testing::Test {
 protected:
  std::int32_t Value(Status (IVideoFile::*operation)(std::int32_t&)) {
    std::int32_t value = -1;
    EXPECT_TRUE(Succeeded(((*reader).*operation)(value)));
    return value;
  }

  // Reads frames until the video ends; the number read.
  int ReadAllFrames() {
    int frames = 0;
    std::vector<std::uint8_t> frame;
    while (Succeeded(reader->ReadVideoFrame(frame)) && !frame.empty()) ++frames;
    return frames;
  }

  MediaFolder media;
  std::unique_ptr<IVideoFile> reader = CreateVideoFile(kVideoFileClassId);
  std::int32_t streams = 0;
};

TEST_F(VideoFileReader, OpenInputFileFailsOnFilesItCannotReadAndStaysIdle) {
  const std::string cram = media.Make("in.avi", kCramAvi);
  QFile original(QString::fromStdString(cram));
  ASSERT_TRUE(original.open(QIODevice::ReadOnly));
  const QByteArray bytes = original.readAll();
  QByteArray garbage;
  for (int i = 0; i < 65536; ++i) garbage.append(static_cast<char>((i * 7919) % 251));

  const std::string unreadable[] = {
      media.Path("missing.avi"),
      media.Write("empty.avi", {}),
      media.Write("garbage.avi", garbage),
      media.Write("headers_only.avi", bytes.left(bytes.indexOf("movi") + 4)),
      media.Make("tone.wav", {"-f", "lavfi", "-i", "sine", "-t", "1"}),
  };
  for (const std::string& path : unreadable) {
    EXPECT_TRUE(Failed(reader->OpenInputFile(path, streams))) << path;
    std::int32_t length = 0;
    EXPECT_EQ(reader->VideoLength(length), Status::kWrongState) << path;
  }
  EXPECT_EQ(reader->OpenInputFile(cram, streams), Status::kOk);
}

TEST_F(VideoFileReader, ReportsTheSourceValuesOnOneTimeLine) {
  ASSERT_EQ(reader->OpenInputFile(media.Make("in.avi", kCramAvi), streams), Status::kOk);
  EXPECT_EQ(streams, 2);
  std::int16_t has_audio = 0;
  EXPECT_EQ(reader->GetHasAudio(has_audio), Status::kOk);
  EXPECT_NE(has_audio, 0);
  EXPECT_GT(Value(&IVideoFile::GetVideoSetting), 0);
  EXPECT_EQ(Value(&IVideoFile::VideoValue1), 160);
  EXPECT_EQ(Value(&IVideoFile::VideoValue2), 120);
  double frame_rate = 0;
  EXPECT_EQ(reader->FrameRate(frame_rate), Status::kOk);
  EXPECT_DOUBLE_EQ(frame_rate, 15);
  EXPECT_EQ(Value(&IVideoFile::AudioValue1), 1);
  EXPECT_EQ(Value(&IVideoFile::AudioValue2), 44100);
  EXPECT_EQ(Value(&IVideoFile::VideoLength), 2000);
  EXPECT_EQ(Value(&IVideoFile::AudioLength), 2000);
  EXPECT_EQ(Value(&IVideoFile::VideoPosition), 0);
  EXPECT_EQ(Value(&IVideoFile::AudioPosition), 0);
}

TEST_F(VideoFileReader, ReadsI420FramesAndWholeSampleAudioBlocks) {
  ASSERT_EQ(reader->OpenInputFile(media.Make("in.avi", kCramAvi), streams), Status::kOk);
  std::vector<std::uint8_t> frame;
  ASSERT_EQ(reader->ReadVideoFrame(frame), Status::kOk);
  EXPECT_EQ(frame.size(), kFrameBytes160x120);
  EXPECT_EQ(Value(&IVideoFile::VideoPosition), 67);

  std::vector<std::uint8_t> block;
  ASSERT_EQ(reader->ReadAudioBlock(2304, block), Status::kOk);
  EXPECT_EQ(block.size(), 2304u);
  EXPECT_EQ(Value(&IVideoFile::AudioPosition), 26);  // 1152 mono samples at 44.1 kHz
  ASSERT_EQ(reader->ReadAudioBlock(3, block), Status::kOk);
  EXPECT_EQ(block.size(), 2u);  // one whole sample
  EXPECT_EQ(reader->ReadAudioBlock(1, block), Status::kInvalidArgument);
  EXPECT_EQ(reader->ReadAudioBlock(0, block), Status::kInvalidArgument);

  EXPECT_EQ(1 + ReadAllFrames(), 30);
  EXPECT_EQ(Value(&IVideoFile::VideoPosition), 2000);
  std::size_t audio_bytes = 2306;
  while (Succeeded(reader->ReadAudioBlock(2304, block)) && !block.empty()) {
    audio_bytes += block.size();
  }
  EXPECT_EQ(audio_bytes, 2u * 88200);
  EXPECT_EQ(Value(&IVideoFile::AudioPosition), 2000);
}

// The frames are the pixels the ffmpeg command line converts the source to (bicubic to I420),
// whatever the source's pixel format, though the conversion runs in slices on several cores and
// the decoding runs ahead on a thread of its own.
TEST_F(VideoFileReader, FramesAreThePixelsFfmpegConvertsTheSourceTo) {
  const QStringList sources[] = {
      {"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25", "-t", "2", "-c:v", "msvideo1"},
      {"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25", "-t", "1", "-pix_fmt", "yuvj422p",
       "-c:v", "mjpeg"},
  };
  for (const QStringList& source : sources) {
    SCOPED_TRACE(source.join(' ').toStdString());
    const std::string avi = media.Make("source.avi", source);
    const std::string raw = media.Path("expected.yuv");
    ASSERT_TRUE(RunFfmpeg({"-i", QString::fromStdString(avi), "-pix_fmt", "yuv420p", "-sws_flags",
                           "bicubic", "-f", "rawvideo", QString::fromStdString(raw)}));
    QFile expected_file(QString::fromStdString(raw));
    ASSERT_TRUE(expected_file.open(QIODevice::ReadOnly));
    const QByteArray expected = expected_file.readAll();

    auto opened = CreateVideoFile(kVideoFileClassId);
    ASSERT_EQ(opened->OpenInputFile(avi, streams), Status::kOk);
    QByteArray read;
    std::vector<std::uint8_t> frame;
    while (Succeeded(opened->ReadVideoFrame(frame)) && !frame.empty())
      read.append(reinterpret_cast<const char*>(frame.data()),
                  static_cast<qsizetype>(frame.size()));
    ASSERT_EQ(read.size(), expected.size());
    EXPECT_TRUE(read == expected) << "the frames differ from ffmpeg's";
  }
}

TEST_F(VideoFileReader, WithoutAudioTheFirstAudioBlockIsEmpty) {
  ASSERT_EQ(reader->OpenInputFile(media.Make("silent.avi", kCramAvi + QStringList{"-an"}), streams),
            Status::kOk);
  EXPECT_EQ(streams, 1);
  std::int16_t has_audio = 1;
  EXPECT_EQ(reader->GetHasAudio(has_audio), Status::kOk);
  EXPECT_EQ(has_audio, 0);
  std::vector<std::uint8_t> block{1, 2, 3};
  EXPECT_EQ(reader->ReadAudioBlock(2304, block), Status::kOk);
  EXPECT_TRUE(block.empty());
  EXPECT_EQ(Value(&IVideoFile::AudioPosition), 0);
  EXPECT_EQ(Value(&IVideoFile::AudioLength), 0);
}

TEST_F(VideoFileReader, AudioThatStartsLateIsPrecededBySilence) {
  const std::string late = media.Make(
      "late.mkv", {"-f", "lavfi", "-i", "testsrc=size=160x120:rate=15", "-itsoffset", "0.5", "-f",
                   "lavfi", "-i", "sine", "-t", "2", "-c:v", "mpeg4", "-c:a", "pcm_s16le"});
  ASSERT_EQ(reader->OpenInputFile(late, streams), Status::kOk);
  std::vector<std::uint8_t> block;
  std::vector<std::uint8_t> first_half_second;
  while (first_half_second.size() < 2 * 22050 - 2304 &&
         Succeeded(reader->ReadAudioBlock(2304, block)) && !block.empty()) {
    first_half_second.insert(first_half_second.end(), block.begin(), block.end());
  }
  EXPECT_TRUE(std::all_of(first_half_second.begin(), first_half_second.end(),
                          [](std::uint8_t byte) { return byte == 0; }));
  ASSERT_EQ(reader->ReadAudioBlock(2 * 4410, block), Status::kOk);  // past 500 ms
  EXPECT_FALSE(
      std::all_of(block.begin(), block.end(), [](std::uint8_t byte) { return byte == 0; }));
}

TEST_F(VideoFileReader, PlacesAVariableRateSourceOnItsConstantRate) {
  // Every third frame of a 30 frames-per-second picture left out: 20 pictures a second.
  const std::string uneven = media.Make(
      "uneven.mkv", {"-f", "lavfi", "-i", "testsrc=size=160x120:rate=30", "-t", "2", "-vf",
                     "select='not(eq(mod(n\\,3)\\,1))'", "-fps_mode", "vfr", "-c:v", "mpeg4"});
  ASSERT_EQ(reader->OpenInputFile(uneven, streams), Status::kOk);
  double frame_rate = 0;
  ASSERT_EQ(reader->FrameRate(frame_rate), Status::kOk);
  const int frames = ReadAllFrames();
  EXPECT_NEAR(frames, 2 * frame_rate, 1);
  EXPECT_NEAR(Value(&IVideoFile::VideoPosition), 2000, 1000 / frame_rate);
}

TEST_F(VideoFileReader, AFileCutShortFailsItsReadInsteadOfEndingEarly) {
  QFile original(QString::fromStdString(media.Make("in.avi", kCramAvi)));
  ASSERT_TRUE(original.open(QIODevice::ReadOnly));
  const QByteArray bytes = original.readAll();
  const std::string cut = media.Write("cut.avi", bytes.left(bytes.size() / 3));
  ASSERT_EQ(reader->OpenInputFile(cut, streams), Status::kOk);
  std::vector<std::uint8_t> frame;
  int frames = 0;
  Status status = Status::kOk;
  while (frames <= 30 && Succeeded(status = reader->ReadVideoFrame(frame)) && !frame.empty()) {
    ++frames;
  }
  EXPECT_TRUE(Failed(status));
  EXPECT_LT(frames, 30);
}

TEST_F(VideoFileReader, WritingWhileReadingFailsAndCloseFileMakesItIdle) {
  ASSERT_EQ(reader->OpenInputFile(media.Make("in.avi", kCramAvi), streams), Status::kOk);
  EXPECT_EQ(reader->SetVideoFormat(160, 120, 15), Status::kWrongState);
  EXPECT_EQ(reader->PutHasAudio(0), Status::kWrongState);
  EXPECT_EQ(reader->WriteVideoFrame(std::vector<std::uint8_t>(kFrameBytes160x120)),
            Status::kWrongState);
  EXPECT_EQ(reader->OpenInputFile(media.Path("in.avi"), streams), Status::kWrongState);

  EXPECT_EQ(reader->CloseFile(), Status::kOk);
  std::int32_t position = 0;
  EXPECT_EQ(reader->VideoPosition(position), Status::kWrongState);
  EXPECT_EQ(reader->CloseFile(), Status::kWrongState);
  EXPECT_EQ(reader->OpenInputFile(media.Path("in.avi"), streams), Status::kOk);
}

}  // namespace
}  // namespace videofile_test
