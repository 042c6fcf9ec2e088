#include <gtest/gtest.h>

#include <QFile>
#include <memory>

#include "media_folder.h"
#include "media_tools.h"
#include "outside/videofile/video_file.h"

namespace videofile_test {
namespace {

using videofile::CreateVideoFile;
using videofile::IVideoFile;
using videofile::kVideoFileClassId;
using videofile::Status;
using videofile::Succeeded;

std::size_t I420Bytes(int width, int height) {
  return static_cast<std::size_t>(width) * height + 2 * ((width + 1) / 2) * ((height + 1) / 2);
}

class VideoFileWriter : public ::testing::Test {
 protected:
  void SelectMp42() {
    std::int32_t count = 0;
    ASSERT_EQ(writer->VideoCompressorCount(count), Status::kOk);
    for (std::int32_t index = 1; index <= count; ++index) {
      std::string name;
      ASSERT_EQ(writer->SelectVideoCompressor(index), Status::kOk);
      ASSERT_EQ(writer->VideoCompressorName(name), Status::kOk);
      if (name.rfind("mp42 ", 0) == 0) return;
    }
    FAIL() << "no mp42 compressor";
  }

  // Creates `output` for frames of width x height scaled to the output size, with stereo
  // 48 kHz audio when `with_audio`.
  void CreateOutput(int width, int height, double rate, int output_width, int output_height,
                    bool with_audio) {
    SelectMp42();
    ASSERT_EQ(writer->PutHasAudio(with_audio ? 1 : 0), Status::kOk);
    if (with_audio) {
      ASSERT_EQ(writer->SetAudioFormat(48000, 2, 16), Status::kOk);
      ASSERT_EQ(writer->SetAudioOutput(48000, 2), Status::kOk);
    }
    ASSERT_EQ(writer->SetVideoFormat(width, height, rate), Status::kOk);
    ASSERT_EQ(writer->SetVideoOutput(output_width, output_height, rate), Status::kOk);
    ASSERT_EQ(writer->CreateOutputFile(output, 1), Status::kOk);
  }

  // Frames of a gradient, so that the encoder has something to compress.
  void WriteFrames(int width, int height, int count) {
    std::vector<std::uint8_t> frame(I420Bytes(width, height), 128);
    for (int i = 0; i < count; ++i) {
      for (int pixel = 0; pixel < width * height; ++pixel) frame[pixel] = (pixel + 4 * i) % 256;
      ASSERT_EQ(writer->WriteVideoFrame(frame), Status::kOk);
    }
  }

  MediaFolder media;
  std::unique_ptr<IVideoFile> writer = CreateVideoFile(kVideoFileClassId);
  std::string output = media.Path("out.avi");
};

TEST_F(VideoFileWriter, CreateOutputFileNeedsACompressorAndMatchingFormats) {
  EXPECT_EQ(writer->CreateOutputFile(output, 1), Status::kWrongState);  // no compressor
  SelectMp42();
  EXPECT_EQ(writer->CreateOutputFile(output, 1), Status::kWrongState);  // no video format
  ASSERT_EQ(writer->SetVideoFormat(160, 120, 15), Status::kOk);
  ASSERT_EQ(writer->SetVideoOutput(160, 120, 25), Status::kOk);
  EXPECT_EQ(writer->CreateOutputFile(output, 1), Status::kInvalidArgument);  // other rate
  ASSERT_EQ(writer->SetVideoOutput(160, 120, 15), Status::kOk);

  ASSERT_EQ(writer->PutHasAudio(-1), Status::kOk);
  EXPECT_EQ(writer->CreateOutputFile(output, 1), Status::kWrongState);  // no audio format
  EXPECT_EQ(writer->SetAudioFormat(44100, 2, 8), Status::kInvalidArgument);
  ASSERT_EQ(writer->SetAudioFormat(44100, 2, 16), Status::kOk);
  ASSERT_EQ(writer->SetAudioOutput(22050, 2), Status::kOk);
  EXPECT_EQ(writer->CreateOutputFile(output, 1), Status::kInvalidArgument);  // resampling
  ASSERT_EQ(writer->SetAudioOutput(44100, 2), Status::kOk);

  EXPECT_EQ(writer->CreateOutputFile(output, 2), Status::kInvalidArgument);
  EXPECT_EQ(writer->CreateOutputFile(media.Path("no/such/folder.avi"), 1), Status::kFail);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(output)));
  EXPECT_EQ(writer->CreateOutputFile(output, 1), Status::kOk);
}

TEST_F(VideoFileWriter, ModeZeroLeavesAnExistingFileAlone) {
  media.Write("out.avi", "keep me");
  SelectMp42();
  ASSERT_EQ(writer->SetVideoFormat(160, 120, 15), Status::kOk);
  ASSERT_EQ(writer->SetVideoOutput(160, 120, 15), Status::kOk);
  EXPECT_EQ(writer->CreateOutputFile(output, 0), Status::kFail);
  QFile kept(QString::fromStdString(output));
  ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
  EXPECT_EQ(kept.readAll(), "keep me");
}

TEST_F(VideoFileWriter, RejectsBlocksThatDoNotFitTheFormats) {
  CreateOutput(160, 120, 15, 160, 120, true);

  EXPECT_EQ(writer->WriteVideoFrame(std::vector<std::uint8_t>(160 * 120)),
            Status::kInvalidArgument);
  EXPECT_EQ(writer->WriteAudioBlock(std::vector<std::uint8_t>(6)), Status::kInvalidArgument);
  EXPECT_EQ(writer->WriteAudioBlock({}), Status::kInvalidArgument);
  EXPECT_EQ(writer->SetVideoFormat(320, 240, 15), Status::kWrongState);
  std::vector<std::uint8_t> frame;
  EXPECT_EQ(writer->ReadVideoFrame(frame), Status::kWrongState);
  EXPECT_EQ(writer->CloseFile(), Status::kOk);
  EXPECT_EQ(writer->WriteAudioBlock(std::vector<std::uint8_t>(4)), Status::kWrongState);
}

TEST_F(VideoFileWriter, PadsAnOddSizeToEvenAndWritesMp42WithPcm) {
  CreateOutput(161, 121, 10, 161, 121, true);
  for (int second = 0; second < 2; ++second) {
    WriteFrames(161, 121, 10);
    ASSERT_EQ(writer->WriteAudioBlock(std::vector<std::uint8_t>(48000 * 4)), Status::kOk);
  }
  ASSERT_EQ(writer->CloseFile(), Status::kOk);

  const auto probed = Probe(output);
  ASSERT_TRUE(probed);
  EXPECT_EQ(probed->format, "avi");
  EXPECT_NEAR(probed->duration, 2.0, 0.05);
  const ProbedStream* video = probed->Find("video");
  ASSERT_NE(video, nullptr);
  EXPECT_EQ(video->codec, "msmpeg4v2");
  EXPECT_EQ(video->tag, "MP42");
  EXPECT_EQ(video->width, 162);
  EXPECT_EQ(video->height, 122);
  EXPECT_EQ(video->frames, 20);
  const ProbedStream* audio = probed->Find("audio");
  ASSERT_NE(audio, nullptr);
  EXPECT_EQ(audio->codec, "pcm_s16le");
  EXPECT_EQ(audio->channels, 2);
  EXPECT_EQ(audio->sample_rate, 48000);
  EXPECT_EQ(audio->samples, 96000);
  EXPECT_TRUE(DecodesCleanly(output));
}

TEST_F(VideoFileWriter, ScalesFramesToTheOutputSize) {
  CreateOutput(160, 120, 25, 320, 240, false);
  WriteFrames(160, 120, 5);
  ASSERT_EQ(writer->CloseFile(), Status::kOk);

  const auto probed = Probe(output);
  ASSERT_TRUE(probed);
  ASSERT_EQ(probed->streams.size(), 1u);
  EXPECT_EQ(probed->streams[0].width, 320);
  EXPECT_EQ(probed->streams[0].height, 240);
  EXPECT_EQ(probed->streams[0].frames, 5);
}

}  // namespace
}  // namespace videofile_test
