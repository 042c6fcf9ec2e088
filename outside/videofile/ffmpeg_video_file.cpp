#include "outside/videofile/ffmpeg_video_file.h"

#include <cmath>
#include <new>

#include "outside/videofile/compressor_list.h"

namespace videofile {
namespace {

constexpr std::int32_t kReplaceExistingFile = 1;
constexpr std::int32_t kKeepExistingFile = 0;

// Nothing thrown inside an operation leaves it: a failed allocation becomes a status.
template <typename Operation>
Status Guarded(Operation&& operation) noexcept {
  try {
    return operation();
  } catch (const std::bad_alloc&) {
    return Status::kOutOfMemory;
  } catch (...) {
    return Status::kFail;
  }
}

bool ValidShape(std::int32_t width, std::int32_t height, double frame_rate) {
  return width > 0 && height > 0 && std::isfinite(frame_rate) && frame_rate > 0;
}

bool SameRate(double a, double b) {
  return std::fabs(a - b) <= 1e-9 * std::fabs(a);
}

}  // namespace

Status FfmpegVideoFile::VideoCompressorCount(std::int32_t& count) {
  return Guarded([&] {
    count = static_cast<std::int32_t>(AviCompressors().size());
    return Status::kOk;
  });
}

Status FfmpegVideoFile::SelectVideoCompressor(std::int32_t index) {
  return Guarded([&] {
    if (writer_) return Status::kWrongState;
    if (index < 1 || static_cast<std::size_t>(index) > AviCompressors().size()) {
      return Status::kInvalidArgument;
    }
    selected_compressor_ = index;
    return Status::kOk;
  });
}

Status FfmpegVideoFile::VideoCompressorName(std::string& name) {
  return Guarded([&] {
    if (selected_compressor_ == 0) return Status::kWrongState;
    name = AviCompressors()[selected_compressor_ - 1].name;
    return Status::kOk;
  });
}

Status FfmpegVideoFile::OpenInputFile(const std::string& path, std::int32_t& streams) {
  return Guarded([&] {
    if (!idle()) return Status::kWrongState;
    std::unique_ptr<MediaReader> reader;
    if (const Status opened = MediaReader::Open(path, reader); opened != Status::kOk) {
      return opened;
    }
    reader_ = std::move(reader);
    video_kbps_ = reader_->video_kbps();
    has_audio_ = reader_->has_audio() ? 1 : 0;
    streams = reader_->has_audio() ? 2 : 1;
    return Status::kOk;
  });
}

Status FfmpegVideoFile::GetVideoSetting(std::int32_t& kbit_per_second) {
  kbit_per_second = video_kbps_;
  return Status::kOk;
}

Status FfmpegVideoFile::PutVideoSetting(std::int32_t kbit_per_second) {
  if (!idle()) return Status::kWrongState;
  if (kbit_per_second < 0) return Status::kInvalidArgument;
  video_kbps_ = kbit_per_second;
  return Status::kOk;
}

Status FfmpegVideoFile::GetHasAudio(std::int16_t& has_audio) {
  has_audio = has_audio_;
  return Status::kOk;
}

Status FfmpegVideoFile::PutHasAudio(std::int16_t has_audio) {
  if (!idle()) return Status::kWrongState;
  has_audio_ = has_audio != 0 ? 1 : 0;
  return Status::kOk;
}

Status FfmpegVideoFile::ReadValue(std::int32_t& value, std::int32_t (*read)(const MediaReader&)) {
  if (!reader_) return Status::kWrongState;
  value = read(*reader_);
  return Status::kOk;
}

Status FfmpegVideoFile::AudioValue1(std::int32_t& channels) {
  return ReadValue(channels, [](const MediaReader& reader) { return reader.channels(); });
}

Status FfmpegVideoFile::AudioValue2(std::int32_t& sample_rate) {
  return ReadValue(sample_rate, [](const MediaReader& reader) { return reader.sample_rate(); });
}

Status FfmpegVideoFile::VideoValue1(std::int32_t& width) {
  return ReadValue(width, [](const MediaReader& reader) { return reader.width(); });
}

Status FfmpegVideoFile::VideoValue2(std::int32_t& height) {
  return ReadValue(height, [](const MediaReader& reader) { return reader.height(); });
}

Status FfmpegVideoFile::FrameRate(double& frames_per_second) {
  if (!reader_) return Status::kWrongState;
  frames_per_second = reader_->frame_rate();
  return Status::kOk;
}

Status FfmpegVideoFile::VideoLength(std::int32_t& milliseconds) {
  return ReadValue(milliseconds,
                   [](const MediaReader& reader) { return reader.video_length_ms(); });
}

Status FfmpegVideoFile::AudioLength(std::int32_t& milliseconds) {
  return ReadValue(milliseconds,
                   [](const MediaReader& reader) { return reader.audio_length_ms(); });
}

Status FfmpegVideoFile::VideoPosition(std::int32_t& milliseconds) {
  return ReadValue(milliseconds,
                   [](const MediaReader& reader) { return reader.video_position_ms(); });
}

Status FfmpegVideoFile::AudioPosition(std::int32_t& milliseconds) {
  return ReadValue(milliseconds,
                   [](const MediaReader& reader) { return reader.audio_position_ms(); });
}

Status FfmpegVideoFile::ReadVideoFrame(std::vector<std::uint8_t>& frame) {
  return Guarded([&] {
    if (!reader_) return Status::kWrongState;
    std::vector<std::uint8_t> read;
    if (const Status status = reader_->ReadVideoFrame(read); status != Status::kOk) {
      return status;
    }
    frame = std::move(read);
    return Status::kOk;
  });
}

Status FfmpegVideoFile::ReadAudioBlock(std::int32_t max_bytes, std::vector<std::uint8_t>& block) {
  return Guarded([&] {
    if (!reader_) return Status::kWrongState;
    if (max_bytes <= 0) return Status::kInvalidArgument;
    return reader_->ReadAudioBlock(static_cast<std::size_t>(max_bytes), block);
  });
}

Status FfmpegVideoFile::SetAudioFormat(std::int32_t sample_rate, std::int32_t channels,
                                       std::int32_t bits_per_sample) {
  if (!idle()) return Status::kWrongState;
  if (sample_rate <= 0 || channels <= 0 || bits_per_sample != 16) {
    return Status::kInvalidArgument;
  }
  audio_format_ = AudioShape{sample_rate, channels};
  return Status::kOk;
}

Status FfmpegVideoFile::SetAudioOutput(std::int32_t sample_rate, std::int32_t channels) {
  if (!idle()) return Status::kWrongState;
  if (sample_rate <= 0 || channels <= 0) return Status::kInvalidArgument;
  audio_output_ = AudioShape{sample_rate, channels};
  return Status::kOk;
}

Status FfmpegVideoFile::SetVideoFormat(std::int32_t width, std::int32_t height, double frame_rate) {
  if (!idle()) return Status::kWrongState;
  if (!ValidShape(width, height, frame_rate)) return Status::kInvalidArgument;
  video_format_ = VideoShape{width, height, frame_rate};
  return Status::kOk;
}

Status FfmpegVideoFile::SetVideoOutput(std::int32_t width, std::int32_t height, double frame_rate) {
  if (!idle()) return Status::kWrongState;
  if (!ValidShape(width, height, frame_rate)) return Status::kInvalidArgument;
  video_output_ = VideoShape{width, height, frame_rate};
  return Status::kOk;
}

Status FfmpegVideoFile::WriterSettings(AviWriterSettings& settings) const {
  if (selected_compressor_ == 0 || !video_format_ || !video_output_) return Status::kWrongState;
  // The writer neither changes the frame rate nor resamples audio.
  if (!SameRate(video_format_->frame_rate, video_output_->frame_rate)) {
    return Status::kInvalidArgument;
  }
  settings.encoder = AviCompressors()[selected_compressor_ - 1].encoder;
  settings.video_kbps = video_kbps_;
  settings.frame_width = video_format_->width;
  settings.frame_height = video_format_->height;
  settings.output_width = video_output_->width;
  settings.output_height = video_output_->height;
  settings.frame_rate = video_output_->frame_rate;
  settings.has_audio = has_audio_ != 0;
  if (!settings.has_audio) return Status::kOk;
  if (!audio_format_ || !audio_output_) return Status::kWrongState;
  if (audio_format_->sample_rate != audio_output_->sample_rate ||
      audio_format_->channels != audio_output_->channels) {
    return Status::kInvalidArgument;
  }
  settings.sample_rate = audio_output_->sample_rate;
  settings.channels = audio_output_->channels;
  return Status::kOk;
}

Status FfmpegVideoFile::CreateOutputFile(const std::string& path, std::int32_t mode) {
  return Guarded([&] {
    if (!idle()) return Status::kWrongState;
    if (mode != kReplaceExistingFile && mode != kKeepExistingFile) {
      return Status::kInvalidArgument;
    }
    AviWriterSettings settings;
    if (const Status status = WriterSettings(settings); status != Status::kOk) return status;
    return AviWriter::Create(path, mode == kReplaceExistingFile, settings, writer_);
  });
}

Status FfmpegVideoFile::WriteVideoFrame(const std::vector<std::uint8_t>& frame) {
  return Guarded([&] { return writer_ ? writer_->WriteVideoFrame(frame) : Status::kWrongState; });
}

Status FfmpegVideoFile::WriteAudioBlock(const std::vector<std::uint8_t>& block) {
  return Guarded([&] { return writer_ ? writer_->WriteAudioBlock(block) : Status::kWrongState; });
}

Status FfmpegVideoFile::CloseFile() {
  return Guarded([&] {
    if (reader_) {
      reader_.reset();
      return Status::kOk;
    }
    if (!writer_) return Status::kWrongState;
    const Status finished = writer_->Finish();
    writer_.reset();
    return finished;
  });
}

}  // namespace videofile
