#include "outside/videofile/audio_stream_reader.h"

#include <algorithm>
#include <cmath>

namespace videofile {

AudioStreamReader::AudioStreamReader(PacketSource& packets, AVStream* stream, double origin_seconds)
    : decoder_(packets, stream), origin_seconds_(origin_seconds) {}

AudioStreamReader::~AudioStreamReader() {
  av_channel_layout_uninit(&resampler_input_layout_);
  av_channel_layout_uninit(&layout_);
}

Status AudioStreamReader::Open(const AVCodec* codec) {
  decoded_.reset(av_frame_alloc());
  if (!decoded_) return Status::kOutOfMemory;
  const AVCodecParameters* parameters = decoder_.stream()->codecpar;
  if (parameters->sample_rate <= 0 || parameters->ch_layout.nb_channels <= 0) return Status::kFail;
  sample_rate_ = parameters->sample_rate;
  av_channel_layout_default(&layout_, std::min(parameters->ch_layout.nb_channels, 2));
  return decoder_.Open(codec);
}

void AudioStreamReader::StartAt(const AVFrame* first_frame) {
  started_ = true;
  if (first_frame->best_effort_timestamp == AV_NOPTS_VALUE) return;
  const double seconds =
      first_frame->best_effort_timestamp * av_q2d(decoder_.stream()->time_base) - origin_seconds_;
  silence_left_ = std::max<std::int64_t>(0, std::llround(seconds * sample_rate_));
}

Status AudioStreamReader::Convert(const AVFrame* frame) {
  AVChannelLayout input_layout{};
  if (frame->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC) {
    // Without channel positions the mix-down cannot be worked out; assume the usual ones.
    av_channel_layout_default(&input_layout, frame->ch_layout.nb_channels);
  } else if (av_channel_layout_copy(&input_layout, &frame->ch_layout) < 0) {
    return Status::kOutOfMemory;
  }
  const bool same_input = resampler_ && resampler_input_rate_ == frame->sample_rate &&
                          resampler_input_format_ == frame->format &&
                          av_channel_layout_compare(&resampler_input_layout_, &input_layout) == 0;
  if (!same_input) {
    SwrContext* resampler = nullptr;
    const int allocated = swr_alloc_set_opts2(
        &resampler, &layout_, AV_SAMPLE_FMT_S16, sample_rate_, &input_layout,
        static_cast<AVSampleFormat>(frame->format), frame->sample_rate, 0, nullptr);
    resampler_.reset(resampler);
    if (allocated < 0 || swr_init(resampler_.get()) < 0) {
      av_channel_layout_uninit(&input_layout);
      return Status::kFail;
    }
    av_channel_layout_uninit(&resampler_input_layout_);
    resampler_input_layout_ = input_layout;
    resampler_input_rate_ = frame->sample_rate;
    resampler_input_format_ = frame->format;
  } else {
    av_channel_layout_uninit(&input_layout);
  }

  const int room = swr_get_out_samples(resampler_.get(), frame->nb_samples);
  if (room < 0) return Status::kFail;
  const std::size_t old_size = pending_.size();
  pending_.resize(old_size + static_cast<std::size_t>(room) * frame_bytes());
  std::uint8_t* output = pending_.data() + old_size;
  const int converted =
      swr_convert(resampler_.get(), &output, room,
                  const_cast<const std::uint8_t**>(frame->extended_data), frame->nb_samples);
  if (converted < 0) return Status::kFail;
  pending_.resize(old_size + static_cast<std::size_t>(converted) * frame_bytes());
  return Status::kOk;
}

Status AudioStreamReader::Drain() {
  ended_ = true;
  if (!resampler_) return Status::kOk;
  for (;;) {
    const int room = swr_get_out_samples(resampler_.get(), 0);
    if (room <= 0) return Status::kOk;
    const std::size_t old_size = pending_.size();
    pending_.resize(old_size + static_cast<std::size_t>(room) * frame_bytes());
    std::uint8_t* output = pending_.data() + old_size;
    const int converted = swr_convert(resampler_.get(), &output, room, nullptr, 0);
    if (converted < 0) return Status::kFail;
    pending_.resize(old_size + static_cast<std::size_t>(converted) * frame_bytes());
    if (converted == 0) return Status::kOk;
  }
}

Status AudioStreamReader::DecodeMore() {
  pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(pending_offset_));
  pending_offset_ = 0;
  bool got_frame = false;
  if (const Status next = decoder_.Next(decoded_.get(), got_frame); next != Status::kOk) {
    return next;
  }
  if (!got_frame) return Drain();
  if (!started_) StartAt(decoded_.get());
  const Status converted = Convert(decoded_.get());
  av_frame_unref(decoded_.get());
  return converted;
}

Status AudioStreamReader::Read(std::size_t max_bytes, std::vector<std::uint8_t>& block) {
  const std::size_t wanted = max_bytes / frame_bytes() * frame_bytes();
  if (wanted == 0) return Status::kInvalidArgument;
  std::vector<std::uint8_t> gathered;
  gathered.reserve(wanted);
  while (gathered.size() < wanted) {
    const std::size_t room_frames = (wanted - gathered.size()) / frame_bytes();
    if (started_ && silence_left_ > 0) {
      const auto frames =
          static_cast<std::size_t>(std::min<std::int64_t>(silence_left_, room_frames));
      gathered.insert(gathered.end(), frames * frame_bytes(), 0);
      silence_left_ -= static_cast<std::int64_t>(frames);
    } else if (pending_offset_ < pending_.size()) {
      const std::size_t bytes =
          std::min(pending_.size() - pending_offset_, wanted - gathered.size());
      const auto first = pending_.begin() + static_cast<std::ptrdiff_t>(pending_offset_);
      gathered.insert(gathered.end(), first, first + static_cast<std::ptrdiff_t>(bytes));
      pending_offset_ += bytes;
    } else if (ended_) {
      break;
    } else if (const Status decoded = DecodeMore(); decoded != Status::kOk) {
      return decoded;
    }
  }
  samples_read_ += static_cast<std::int64_t>(gathered.size() / frame_bytes());
  block = std::move(gathered);
  return Status::kOk;
}

}  // namespace videofile
