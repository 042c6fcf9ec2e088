// The VideoFile control on the FFmpeg libraries: one instance is idle, a reader (MediaReader)
// or a writer (AviWriter), and checks that each operation fits its state.
#pragma once

#include <optional>

#include "outside/videofile/avi_writer.h"
#include "outside/videofile/media_reader.h"
#include "outside/videofile/video_file.h"

namespace videofile {

class FfmpegVideoFile final : public IVideoFile {
 public:
  Status VideoCompressorCount(std::int32_t& count) override;
  Status SelectVideoCompressor(std::int32_t index) override;
  Status VideoCompressorName(std::string& name) override;

  Status OpenInputFile(const std::string& path, std::int32_t& streams) override;
  Status GetVideoSetting(std::int32_t& kbit_per_second) override;
  Status PutVideoSetting(std::int32_t kbit_per_second) override;
  Status GetHasAudio(std::int16_t& has_audio) override;
  Status PutHasAudio(std::int16_t has_audio) override;
  Status AudioValue1(std::int32_t& channels) override;
  Status AudioValue2(std::int32_t& sample_rate) override;
  Status VideoValue1(std::int32_t& width) override;
  Status VideoValue2(std::int32_t& height) override;
  Status FrameRate(double& frames_per_second) override;
  Status VideoLength(std::int32_t& milliseconds) override;
  Status AudioLength(std::int32_t& milliseconds) override;
  Status VideoPosition(std::int32_t& milliseconds) override;
  Status AudioPosition(std::int32_t& milliseconds) override;
  Status ReadVideoFrame(std::vector<std::uint8_t>& frame) override;
  Status ReadAudioBlock(std::int32_t max_bytes, std::vector<std::uint8_t>& block) override;

  Status SetAudioFormat(std::int32_t sample_rate, std::int32_t channels,
                        std::int32_t bits_per_sample) override;
  Status SetAudioOutput(std::int32_t sample_rate, std::int32_t channels) override;
  Status SetVideoFormat(std::int32_t width, std::int32_t height, double frame_rate) override;
  Status SetVideoOutput(std::int32_t width, std::int32_t height, double frame_rate) override;
  Status CreateOutputFile(const std::string& path, std::int32_t mode) override;
  Status WriteVideoFrame(const std::vector<std::uint8_t>& frame) override;
  Status WriteAudioBlock(const std::vector<std::uint8_t>& block) override;

  Status CloseFile() override;

 private:
  struct AudioShape {
    int sample_rate = 0;
    int channels = 0;
  };
  struct VideoShape {
    int width = 0;
    int height = 0;
    double frame_rate = 0;
  };

  bool idle() const { return !reader_ && !writer_; }
  Status ReadValue(std::int32_t& value, std::int32_t (*read)(const MediaReader&));
  Status WriterSettings(AviWriterSettings& settings) const;

  std::int32_t selected_compressor_ = 0;  // counted from 1; 0 before any selection
  std::int32_t video_kbps_ = 0;
  std::int16_t has_audio_ = 0;
  std::optional<AudioShape> audio_format_;
  std::optional<AudioShape> audio_output_;
  std::optional<VideoShape> video_format_;
  std::optional<VideoShape> video_output_;
  std::unique_ptr<MediaReader> reader_;
  std::unique_ptr<AviWriter> writer_;
};

}  // namespace videofile
