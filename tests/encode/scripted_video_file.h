// A VideoFile instance for tests of the conversion: as a reader it delivers a scripted number
// of video frames and audio blocks with their positions in milliseconds; as a writer it records
// what it was given. Any operation can be made to fail by its name.
#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

#include "outside/videofile/video_file.h"

class ScriptedVideoFile : public videofile::IVideoFile {
 public:
  using Status = videofile::Status;

  // The reader's input.
  int video_frames = 10;
  int frame_ms = 100;
  int audio_blocks = 10;
  int block_ms = 100;
  std::int16_t has_audio = 1;
  int video_length_ms = 1000;  // as the file declares it
  int audio_length_ms = 1000;
  QStringList compressors = {"cvid Cinepak", "mp42 MPEG-4 part 2 Microsoft variant version 2"};
  QSet<QString> failing;  // operation names that fail

  // What happened: every write and setting, in order ("V" a frame, "A" a block, ...).
  QStringList log;
  int selected = 0;

  Status Result(const char* operation) {
    return failing.contains(operation) ? Status::kFail : Status::kOk;
  }

  Status VideoCompressorCount(std::int32_t& count) override {
    count = static_cast<std::int32_t>(compressors.size());
    return Result("VideoCompressorCount");
  }
  Status SelectVideoCompressor(std::int32_t index) override {
    if (index < 1 || index > compressors.size()) return Status::kInvalidArgument;
    selected = index;
    return Result("SelectVideoCompressor");
  }
  Status VideoCompressorName(std::string& name) override {
    name = compressors.value(selected - 1).toStdString();
    return Result("VideoCompressorName");
  }
  Status OpenInputFile(const std::string&, std::int32_t& streams) override {
    streams = has_audio ? 2 : 1;
    return Result("OpenInputFile");
  }
  Status GetVideoSetting(std::int32_t& value) override {
    value = 256;
    return Result("GetVideoSetting");
  }
  Status PutVideoSetting(std::int32_t value) override {
    log << QString("setting %1").arg(value);
    return Result("PutVideoSetting");
  }
  Status GetHasAudio(std::int16_t& value) override {
    value = has_audio;
    return Status::kOk;
  }
  Status PutHasAudio(std::int16_t value) override {
    log << QString("audio %1").arg(value);
    return Status::kOk;
  }
  Status AudioValue1(std::int32_t& value) override {
    value = 2;
    return Result("AudioValue1");
  }
  Status AudioValue2(std::int32_t& value) override {
    value = 22050;
    return Result("AudioValue2");
  }
  Status VideoValue1(std::int32_t& value) override {
    value = 160;
    return Result("VideoValue1");
  }
  Status VideoValue2(std::int32_t& value) override {
    value = 120;
    return Result("VideoValue2");
  }
  Status FrameRate(double& value) override {
    value = 1000.0 / frame_ms;
    return Result("FrameRate");
  }
  Status VideoLength(std::int32_t& value) override {
    value = video_length_ms;
    return Result("VideoLength");
  }
  Status AudioLength(std::int32_t& value) override {
    value = audio_length_ms;
    return Result("AudioLength");
  }
  Status VideoPosition(std::int32_t& value) override {
    value = frames_read_ * frame_ms;
    return Result("VideoPosition");
  }
  Status AudioPosition(std::int32_t& value) override {
    value = has_audio ? blocks_read_ * block_ms : 0;
    return Result("AudioPosition");
  }
  Status ReadVideoFrame(std::vector<std::uint8_t>& frame) override {
    frame.clear();
    if (frames_read_ < video_frames) frame.assign(4, static_cast<std::uint8_t>(frames_read_++));
    return Result("ReadVideoFrame");
  }
  Status ReadAudioBlock(std::int32_t max_bytes, std::vector<std::uint8_t>& block) override {
    block.clear();
    if (has_audio && blocks_read_ < audio_blocks) {
      block.assign(static_cast<size_t>(max_bytes), static_cast<std::uint8_t>(blocks_read_++));
    }
    return Result("ReadAudioBlock");
  }
  Status SetAudioFormat(std::int32_t rate, std::int32_t channels, std::int32_t bits) override {
    log << QString("audio format %1 %2 %3").arg(rate).arg(channels).arg(bits);
    return Result("SetAudioFormat");
  }
  Status SetAudioOutput(std::int32_t rate, std::int32_t channels) override {
    log << QString("audio output %1 %2").arg(rate).arg(channels);
    return Result("SetAudioOutput");
  }
  Status SetVideoFormat(std::int32_t w, std::int32_t h, double rate) override {
    log << QString("video format %1 %2 %3").arg(w).arg(h).arg(rate);
    return Result("SetVideoFormat");
  }
  Status SetVideoOutput(std::int32_t w, std::int32_t h, double rate) override {
    log << QString("video output %1 %2 %3").arg(w).arg(h).arg(rate);
    return Result("SetVideoOutput");
  }
  Status CreateOutputFile(const std::string& path, std::int32_t mode) override {
    log << QString("create %1 %2").arg(QString::fromStdString(path)).arg(mode);
    return Result("CreateOutputFile");
  }
  Status WriteVideoFrame(const std::vector<std::uint8_t>& frame) override {
    log << QString("V%1").arg(frame.at(0));
    return Result("WriteVideoFrame");
  }
  Status WriteAudioBlock(const std::vector<std::uint8_t>& block) override {
    log << QString("A%1:%2").arg(block.at(0)).arg(block.size());
    return Result("WriteAudioBlock");
  }
  Status CloseFile() override {
    log << "close";
    return Result("CloseFile");
  }

 private:
  int frames_read_ = 0;
  int blocks_read_ = 0;
};
