#include "outside/videofile/media_reader.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "outside/videofile/stream_timing.h"

namespace videofile {
namespace {

std::int32_t Milliseconds(double seconds) {
  const double milliseconds = std::round(seconds * 1000);
  return static_cast<std::int32_t>(
      std::clamp(milliseconds, 0.0, double{std::numeric_limits<std::int32_t>::max()}));
}

}  // namespace

Status MediaReader::Open(const std::string& path, std::unique_ptr<MediaReader>& reader) {
  std::unique_ptr<MediaReader> opened(new MediaReader());
  if (const Status status = opened->OpenStreams(path); status != Status::kOk) return status;
  reader = std::move(opened);
  return Status::kOk;
}

Status MediaReader::OpenStreams(const std::string& path) {
  AVFormatContext* opened = nullptr;
  if (avformat_open_input(&opened, path.c_str(), nullptr, nullptr) < 0) return Status::kFail;
  input_.reset(opened);
  if (avformat_find_stream_info(input_.get(), nullptr) < 0) return Status::kFail;

  const AVCodec* video_codec = nullptr;
  const int video_index =
      av_find_best_stream(input_.get(), AVMEDIA_TYPE_VIDEO, -1, -1, &video_codec, 0);
  if (video_index < 0) return Status::kFail;
  const AVCodec* audio_codec = nullptr;
  int audio_index =
      av_find_best_stream(input_.get(), AVMEDIA_TYPE_AUDIO, -1, video_index, &audio_codec, 0);
  // Converting without audio that is there but cannot be decoded would lose it unnoticed.
  if (audio_index == AVERROR_DECODER_NOT_FOUND) return Status::kFail;
  if (audio_index < 0) audio_index = -1;
  for (unsigned i = 0; i < input_->nb_streams; ++i) {
    if (static_cast<int>(i) != video_index && static_cast<int>(i) != audio_index) {
      input_->streams[i]->discard = AVDISCARD_ALL;
    }
  }
  AVStream* video_stream = input_->streams[video_index];
  AVStream* audio_stream = audio_index >= 0 ? input_->streams[audio_index] : nullptr;

  double origin = StartSeconds(video_stream);
  if (audio_stream != nullptr) origin = std::min(origin, StartSeconds(audio_stream));
  std::optional<double> video_end = CountedEndSeconds(video_stream);
  if (!video_end) video_end = DeclaredEndSeconds(input_.get(), video_stream);
  std::optional<double> audio_end;
  if (audio_stream != nullptr) audio_end = DeclaredEndSeconds(input_.get(), audio_stream);
  if (!video_end || (audio_stream != nullptr && !audio_end)) {
    std::vector<double> scanned;
    if (const Status scan = ScanEndSeconds(path, scanned); scan != Status::kOk) return scan;
    const auto scanned_end = [&scanned](int index) {
      return static_cast<std::size_t>(index) < scanned.size() ? scanned[index] : 0.0;
    };
    if (!video_end) video_end = scanned_end(video_index);
    if (audio_stream != nullptr && !audio_end) audio_end = scanned_end(audio_index);
  }
  if (*video_end <= origin) return Status::kFail;

  packets_ = std::make_unique<PacketSource>(input_.get(), video_index, audio_index,
                                            std::max(*video_end, audio_end.value_or(0)));
  const AVRational frame_rate = ConstantFrameRate(video_stream);
  video_ = std::make_unique<VideoStreamReader>(*packets_, video_stream, frame_rate, origin);
  if (const Status status = video_->Open(video_codec); status != Status::kOk) return status;
  if (audio_stream != nullptr) {
    audio_ = std::make_unique<AudioStreamReader>(*packets_, audio_stream, origin);
    if (const Status status = audio_->Open(audio_codec); status != Status::kOk) return status;
    audio_length_ms_ = Milliseconds(*audio_end - origin);
  }
  video_length_ms_ = Milliseconds(*video_end - origin);
  video_kbps_ = VideoBitRateKbps(input_.get(), video_stream);
  if (VideoReadAhead::Wanted()) video_ahead_ = std::make_unique<VideoReadAhead>(*video_);
  return Status::kOk;
}

Status MediaReader::ReadVideoFrame(std::vector<std::uint8_t>& frame) {
  return video_ahead_ ? video_ahead_->Read(frame) : video_->Read(frame);
}

std::int32_t MediaReader::video_length_ms() const {
  return std::max(video_length_ms_, video_position_ms());
}

std::int32_t MediaReader::audio_length_ms() const {
  return std::max(audio_length_ms_, audio_position_ms());
}

std::int32_t MediaReader::video_position_ms() const {
  // Ahead of the caller, the decoder's own position says what was decoded, not what was read.
  const std::int64_t slot = video_ahead_ ? video_ahead_->frames_read() : video_->next_slot();
  return Milliseconds(slot / video_->frame_rate());
}

std::int32_t MediaReader::audio_position_ms() const {
  if (!audio_) return 0;
  return Milliseconds(static_cast<double>(audio_->samples_read()) / audio_->sample_rate());
}

Status MediaReader::ReadAudioBlock(std::size_t max_bytes, std::vector<std::uint8_t>& block) {
  if (!audio_) {
    block.clear();
    return Status::kOk;
  }
  return audio_->Read(max_bytes, block);
}

}  // namespace videofile
