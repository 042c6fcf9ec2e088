#include "dialog_conversion_loop.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

namespace videofile_test {
namespace {

using videofile::Failed;

// The dialog has no such limit; here it turns a component that never ends into a failed test.
constexpr long kMaxPasses = 1'000'000;

bool BeginsWithMp42(std::string name) {
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return name.rfind("mp42", 0) == 0;
}

}  // namespace

LoopOutcome RunDialogConversion(videofile::IVideoFile& reader, videofile::IVideoFile& writer,
                                const std::string& input_path) {
  LoopOutcome outcome;
  const auto failed = [&outcome](const char* operation) {
    outcome.failed_operation = operation;
    return outcome;
  };
  outcome.progress.push_back(0);
  std::string working_name =
      input_path.substr(0, input_path.size() - std::min<std::size_t>(4, input_path.size()));

  std::int32_t count = 0;
  if (Failed(writer.VideoCompressorCount(count))) return failed("VideoCompressorCount");
  std::int32_t compressor = 0;
  for (std::int32_t index = 1; index <= count && compressor == 0; ++index) {
    if (Failed(writer.SelectVideoCompressor(index))) return failed("SelectVideoCompressor");
    std::string name;
    if (Failed(writer.VideoCompressorName(name))) return failed("VideoCompressorName");
    if (BeginsWithMp42(name)) compressor = index;
  }
  if (compressor == 0) return failed("no mp42 compressor");

  std::int32_t unused = 0;
  if (Failed(reader.OpenInputFile(input_path, unused))) return failed("OpenInputFile");

  std::int32_t video_setting = 0;
  std::int16_t has_audio = 0;
  reader.GetVideoSetting(video_setting);
  reader.GetHasAudio(has_audio);
  if (Failed(writer.SelectVideoCompressor(compressor))) return failed("SelectVideoCompressor");
  writer.PutVideoSetting(video_setting);
  writer.PutHasAudio(has_audio);

  if (has_audio != 0) {
    std::int32_t audio1 = 0;
    std::int32_t audio2 = 0;
    if (Failed(reader.AudioValue1(audio1)) || Failed(reader.AudioValue2(audio2))) {
      return failed("AudioValue");
    }
    if (Failed(writer.SetAudioFormat(audio2, audio1, 16))) return failed("SetAudioFormat");
    if (Failed(reader.AudioValue1(audio1)) || Failed(reader.AudioValue2(audio2))) {
      return failed("AudioValue");
    }
    if (Failed(writer.SetAudioOutput(audio2, audio1))) return failed("SetAudioOutput");
  }

  working_name += "_converted.avi";
  outcome.converted_path = working_name;

  std::int32_t video1 = 0;
  std::int32_t video2 = 0;
  double frame_rate = 0;
  if (Failed(reader.VideoValue1(video1)) || Failed(reader.VideoValue2(video2)) ||
      Failed(reader.FrameRate(frame_rate))) {
    return failed("VideoValue");
  }
  if (Failed(writer.SetVideoFormat(video1, video2, frame_rate))) return failed("SetVideoFormat");
  if (Failed(reader.FrameRate(frame_rate))) return failed("FrameRate");
  if (Failed(writer.SetVideoOutput(video1, video2, frame_rate))) return failed("SetVideoOutput");

  if (Failed(writer.CreateOutputFile(working_name, 1))) return failed("CreateOutputFile");

  std::int32_t video_length = 0;
  reader.VideoLength(video_length);
  bool video_done = false;
  bool audio_done = false;
  for (long pass = 0; pass < kMaxPasses; ++pass) {
    std::int32_t video_position = 0;
    std::int32_t audio_position = 0;
    if (Failed(reader.VideoPosition(video_position))) return failed("VideoPosition");
    if (video_position > video_length) video_done = true;
    if (Failed(reader.AudioPosition(audio_position))) return failed("AudioPosition");
    if (audio_position > video_length) audio_done = true;

    if (Failed(reader.VideoPosition(video_position)) ||
        Failed(reader.AudioPosition(audio_position))) {
      return failed("Position");
    }
    if ((video_position <= audio_position || audio_done) && !video_done) {
      std::vector<std::uint8_t> frame;
      if (Failed(reader.ReadVideoFrame(frame))) return failed("ReadVideoFrame");
      if (frame.empty()) {
        video_done = true;
      } else if (Failed(writer.WriteVideoFrame(frame))) {
        return failed("WriteVideoFrame");
      }
    }

    if (Failed(reader.VideoPosition(video_position)) ||
        Failed(reader.AudioPosition(audio_position))) {
      return failed("Position");
    }
    if ((video_position > audio_position || video_done) && !audio_done) {
      std::vector<std::uint8_t> block;
      if (Failed(reader.ReadAudioBlock(2304, block))) return failed("ReadAudioBlock");
      if (block.empty()) {
        audio_done = true;
      } else if (Failed(writer.WriteAudioBlock(block))) {
        return failed("WriteAudioBlock");
      }
    }

    std::int32_t video_total = 0;
    std::int32_t audio_total = 0;
    if (Failed(reader.VideoPosition(video_position)) ||
        Failed(reader.AudioPosition(audio_position)) || Failed(reader.VideoLength(video_total)) ||
        Failed(reader.AudioLength(audio_total))) {
      return failed("Position or length");
    }
    const double progress = static_cast<double>(audio_position + video_position) /
                                (static_cast<double>(audio_total) + video_total) * 100 +
                            0.5;
    outcome.progress.push_back(static_cast<int>(progress));

    if (video_done && audio_done) {
      if (Failed(reader.CloseFile())) return failed("CloseFile");
      outcome.progress.push_back(100);
      outcome.writer_closed = !Failed(writer.CloseFile());
      outcome.succeeded = true;
      return outcome;
    }
  }
  return failed("loop did not end");
}

}  // namespace videofile_test
