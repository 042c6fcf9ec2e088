#include "outside/webtwin/audio_track.h"

#include <algorithm>
#include <cmath>

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/samplefmt.h>
}

namespace webtwin {
namespace {

using vidforge::Check;
using vidforge::EncodeError;

constexpr int64_t kMaxBitRate = 128000;

// The FLV's rate when the encoder takes it, else the next higher rate it takes (FLV's 5,512 Hz
// becomes 7,350 Hz), else its highest.
int ChooseSampleRate(const AVCodec* codec, int rate) {
  int above = 0;
  int highest = 0;
  for (const int* offered = codec->supported_samplerates; offered && *offered; ++offered) {
    if (*offered == rate) return rate;
    if (*offered > rate && (above == 0 || *offered < above)) above = *offered;
    highest = std::max(highest, *offered);
  }
  if (above > 0) return above;
  return highest > 0 ? highest : 44100;
}

vidforge::CodecContextPtr OpenAacEncoder(const AVStream& stream, const AVCodecContext& decoder) {
  const AVCodec* codec = avcodec_find_encoder_by_name("aac");
  if (!codec) throw EncodeError("this FFmpeg has no AAC encoder");
  vidforge::CodecContextPtr encoder = vidforge::MakeCodecContext(codec);
  encoder->sample_rate = ChooseSampleRate(codec, decoder.sample_rate);
  encoder->sample_fmt = AV_SAMPLE_FMT_FLTP;
  av_channel_layout_default(&encoder->ch_layout, std::clamp(decoder.ch_layout.nb_channels, 1, 2));
  const int64_t flv_rate = stream.codecpar->bit_rate;
  encoder->bit_rate = flv_rate > 0 ? std::min(flv_rate, kMaxBitRate) : kMaxBitRate;
  encoder->time_base = {1, encoder->sample_rate};
  encoder->flags |= Mp4File::kEncoderFlags;
  Check(avcodec_open2(encoder.get(), codec, nullptr), "cannot open the AAC encoder");
  return encoder;
}

}  // namespace

AudioTrack::AudioTrack(const AVStream& stream, const AVCodecContext& decoder, Mp4File& output)
    : encoder_(OpenAacEncoder(stream, decoder), output, "audio") {
  const AVCodecContext* encoder = encoder_.context();
  fifo_.reset(av_audio_fifo_alloc(encoder->sample_fmt, encoder->ch_layout.nb_channels,
                                  std::max(encoder->frame_size, 1)));
  if (!fifo_) throw EncodeError("out of memory");
}

AudioTrack::~AudioTrack() {
  av_channel_layout_uninit(&resampler_layout_);
}

void AudioTrack::SetUpResampler(const AVFrame* decoded) {
  const bool same = resampler_ && decoded->sample_rate == resampler_rate_ &&
                    decoded->format == resampler_format_ &&
                    av_channel_layout_compare(&decoded->ch_layout, &resampler_layout_) == 0;
  if (same) return;
  // What the old set-up still holds belongs before the new sound.
  if (resampler_) Convert(nullptr, 0);
  const AVCodecContext* encoder = encoder_.context();
  SwrContext* made = nullptr;
  // This FFmpeg's declaration lacks the const it treats the layouts with.
  Check(swr_alloc_set_opts2(
            &made, const_cast<AVChannelLayout*>(&encoder->ch_layout), encoder->sample_fmt,
            encoder->sample_rate, const_cast<AVChannelLayout*>(&decoded->ch_layout),
            static_cast<AVSampleFormat>(decoded->format), decoded->sample_rate, 0, nullptr),
        "cannot resample the sound");
  resampler_.reset(made);
  Check(swr_init(made), "cannot resample the sound");
  resampler_rate_ = decoded->sample_rate;
  resampler_format_ = decoded->format;
  av_channel_layout_uninit(&resampler_layout_);
  Check(av_channel_layout_copy(&resampler_layout_, &decoded->ch_layout), "out of memory");
}

void AudioTrack::Add(const AVFrame* decoded, std::optional<double> seconds) {
  if (decoded->sample_rate <= 0 || decoded->ch_layout.nb_channels <= 0) return;
  SetUpResampler(decoded);
  if (!next_pts_) {
    next_pts_ = std::llround(seconds.value_or(0) * encoder_.context()->sample_rate);
  }
  Convert(const_cast<const uint8_t**>(decoded->extended_data), decoded->nb_samples);
  EncodeWholeFrames(false);
}

void AudioTrack::Convert(const uint8_t** samples, int count) {
  const AVCodecContext* encoder = encoder_.context();
  const int room = swr_get_out_samples(resampler_.get(), count);
  if (room <= 0) return;
  uint8_t** converted = nullptr;
  Check(av_samples_alloc_array_and_samples(&converted, nullptr, encoder->ch_layout.nb_channels,
                                           room, encoder->sample_fmt, 0),
        "out of memory");
  const int made = swr_convert(resampler_.get(), converted, room, samples, count);
  const int written =
      made > 0 ? av_audio_fifo_write(fifo_.get(), reinterpret_cast<void**>(converted), made) : 0;
  av_freep(&converted[0]);
  av_freep(&converted);
  Check(made, "cannot resample the sound");
  Check(written, "out of memory");
}

void AudioTrack::EncodeWholeFrames(bool include_last_partial) {
  AVCodecContext* encoder = encoder_.context();
  const int frame_size = encoder->frame_size;
  while (av_audio_fifo_size(fifo_.get()) >= frame_size ||
         (include_last_partial && av_audio_fifo_size(fifo_.get()) > 0)) {
    const int count = std::min(av_audio_fifo_size(fifo_.get()), frame_size);
    vidforge::FramePtr frame = vidforge::MakeFrame();
    frame->format = encoder->sample_fmt;
    frame->sample_rate = encoder->sample_rate;
    Check(av_channel_layout_copy(&frame->ch_layout, &encoder->ch_layout), "out of memory");
    frame->nb_samples = count;
    Check(av_frame_get_buffer(frame.get(), 0), "out of memory");
    if (av_audio_fifo_read(fifo_.get(), reinterpret_cast<void**>(frame->data), count) != count)
      throw EncodeError("cannot resample the sound");
    frame->pts = *next_pts_;
    *next_pts_ += count;
    encoder_.Encode(frame.get());
  }
}

void AudioTrack::Finish() {
  if (resampler_) Convert(nullptr, 0);
  if (next_pts_) EncodeWholeFrames(true);
  encoder_.Encode(nullptr);
}

}  // namespace webtwin
