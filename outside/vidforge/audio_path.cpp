#include "outside/vidforge/audio_path.h"

#include <algorithm>
#include <cmath>
#include <string>

extern "C" {
#include <libavutil/channel_layout.h>
}

namespace vidforge {
namespace {

// The encoder's sample format nearest the decoder's, so that no precision is made up or lost
// on the way (the same choice FFmpeg's command line makes).
AVSampleFormat ChooseSampleFormat(const AVCodec* codec, AVSampleFormat decoded) {
  const AVSampleFormat planar = av_get_planar_sample_fmt(decoded);
  for (const AVSampleFormat* format = codec->sample_fmts; format && *format != AV_SAMPLE_FMT_NONE;
       ++format) {
    if (*format == planar) return planar;
  }
  return codec->sample_fmts ? codec->sample_fmts[0] : AV_SAMPLE_FMT_S16P;
}

// The MP3 encoder for `settings`, taking samples in the format nearest the decoder's.
CodecContextPtr OpenMp3Encoder(const AudioSettings& settings, AVSampleFormat decoded,
                               const OutputFile& output) {
  const AVCodec* codec = avcodec_find_encoder_by_name("libmp3lame");
  if (!codec) throw EncodeError("this FFmpeg has no MP3 encoder (libmp3lame)");
  CodecContextPtr encoder = MakeCodecContext(codec);
  encoder->sample_rate = settings.sample_rate;
  encoder->sample_fmt = ChooseSampleFormat(codec, decoded);
  av_channel_layout_default(&encoder->ch_layout, settings.channels);
  encoder->bit_rate = static_cast<int64_t>(settings.bit_rate_kbits) * 1000;
  encoder->time_base = {1, settings.sample_rate};
  if (output.WantsGlobalHeader()) encoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  Check(avcodec_open2(encoder.get(), codec, nullptr), "cannot open the MP3 encoder");
  return encoder;
}

}  // namespace

AudioPath::AudioPath(const InputFile& input, CodecContextPtr decoder, const AudioSettings& settings,
                     OutputFile& output)
    : decoder_(std::move(decoder), "audio"),
      encoder_(OpenMp3Encoder(settings, decoder_.context()->sample_fmt, output), output, {0, 1},
               "audio"),
      timeline_(input.start_seconds(), input.duration_seconds()) {
  const AVCodecContext* encoder = encoder_.context();
  fifo_.reset(av_audio_fifo_alloc(encoder->sample_fmt, settings.channels, encoder->frame_size));
  if (!fifo_) throw EncodeError("out of memory");
  encoder_frame_->format = encoder->sample_fmt;
  encoder_frame_->sample_rate = encoder->sample_rate;
  Check(av_channel_layout_copy(&encoder_frame_->ch_layout, &encoder->ch_layout), "out of memory");
  encoder_frame_->nb_samples = encoder->frame_size;
  Check(av_frame_get_buffer(encoder_frame_.get(), 0), "out of memory");
}

AudioPath::~AudioPath() {
  av_channel_layout_uninit(&resampler_layout_);
}

void AudioPath::Decode(const AVPacket* packet) {
  decoder_.Decode(packet, [this](AVFrame* decoded) { Resample(decoded); });
}

void AudioPath::Resample(const AVFrame* decoded) {
  if (decoded->nb_samples <= 0 || decoded->sample_rate <= 0 || decoded->ch_layout.nb_channels <= 0)
    return;
  const double seconds = timeline_.Place(decoder_.StampSeconds(decoded), previous_frame_seconds_);
  seconds_done_.store(timeline_.last(), std::memory_order_relaxed);
  previous_frame_seconds_ = decoded->nb_samples / static_cast<double>(decoded->sample_rate);
  // The sound runs on without gaps from where its first frame lies.
  if (!next_pts_)
    next_pts_ = std::llround(std::max(0.0, seconds) * encoder_.context()->sample_rate);

  // Some containers give only a channel count; take the usual layout for it.
  AVChannelLayout layout = {};
  if (decoded->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
    av_channel_layout_default(&layout, decoded->ch_layout.nb_channels);
  else
    Check(av_channel_layout_copy(&layout, &decoded->ch_layout), "out of memory");
  if (!resampler_ || decoded->sample_rate != resampler_rate_ ||
      decoded->format != resampler_format_ ||
      av_channel_layout_compare(&layout, &resampler_layout_) != 0) {
    ConfigureResampler(decoded, layout);
  }
  av_channel_layout_uninit(&layout);
  ConvertIntoFifo(const_cast<const uint8_t**>(decoded->extended_data), decoded->nb_samples);
  EncodeWholeFrames(false);
}

void AudioPath::ConfigureResampler(const AVFrame* decoded, const AVChannelLayout& layout) {
  // What the old set-up still holds belongs before the change.
  if (resampler_) ConvertIntoFifo(nullptr, 0);
  AVCodecContext* encoder = encoder_.context();
  SwrContext* resampler = nullptr;
  Check(swr_alloc_set_opts2(&resampler, &encoder->ch_layout, encoder->sample_fmt,
                            encoder->sample_rate, const_cast<AVChannelLayout*>(&layout),
                            static_cast<AVSampleFormat>(decoded->format), decoded->sample_rate, 0,
                            nullptr),
        "cannot set up the resampler");
  resampler_.reset(resampler);
  Check(swr_init(resampler_.get()), "cannot set up the resampler");
  resampler_rate_ = decoded->sample_rate;
  resampler_format_ = static_cast<AVSampleFormat>(decoded->format);
  av_channel_layout_uninit(&resampler_layout_);
  Check(av_channel_layout_copy(&resampler_layout_, &layout), "out of memory");
}

void AudioPath::ConvertIntoFifo(const uint8_t** samples, int count) {
  const int room = swr_get_out_samples(resampler_.get(), count);
  Check(room, "cannot resample the audio");
  if (room > converted_capacity_) {
    const AVCodecContext* encoder = encoder_.context();
    av_frame_unref(converted_.get());
    converted_->format = encoder->sample_fmt;
    Check(av_channel_layout_copy(&converted_->ch_layout, &encoder->ch_layout), "out of memory");
    converted_->nb_samples = room;
    Check(av_frame_get_buffer(converted_.get(), 0), "out of memory");
    converted_capacity_ = room;
  }
  const int converted = Check(swr_convert(resampler_.get(), converted_->data, room, samples, count),
                              "cannot resample the audio");
  if (converted > 0 && av_audio_fifo_write(fifo_.get(), reinterpret_cast<void**>(converted_->data),
                                           converted) < converted)
    throw EncodeError("out of memory");
}

void AudioPath::EncodeWholeFrames(bool include_last_partial) {
  const AVCodecContext* encoder = encoder_.context();
  const int frame_size = encoder->frame_size;
  while (av_audio_fifo_size(fifo_.get()) >= frame_size ||
         (include_last_partial && av_audio_fifo_size(fifo_.get()) > 0)) {
    Check(av_frame_make_writable(encoder_frame_.get()), "out of memory");
    const int count = std::min(av_audio_fifo_size(fifo_.get()), frame_size);
    av_audio_fifo_read(fifo_.get(), reinterpret_cast<void**>(encoder_frame_->data), count);
    encoder_frame_->nb_samples = count;
    // An encoder that wants whole frames only gets the last one padded with silence.
    if (count < frame_size && !(encoder->codec->capabilities & AV_CODEC_CAP_SMALL_LAST_FRAME)) {
      av_samples_set_silence(encoder_frame_->data, count, frame_size - count,
                             encoder->ch_layout.nb_channels, encoder->sample_fmt);
      encoder_frame_->nb_samples = frame_size;
    }
    encoder_frame_->pts = *next_pts_;
    *next_pts_ += encoder_frame_->nb_samples;
    encoder_.Encode(encoder_frame_.get());
    encoder_frame_->nb_samples = frame_size;
  }
}

void AudioPath::Finish() {
  decoder_.Drain([this](AVFrame* decoded) { Resample(decoded); });
  if (resampler_) {
    ConvertIntoFifo(nullptr, 0);
    EncodeWholeFrames(true);
  }
  encoder_.Encode(nullptr);
}

}  // namespace vidforge
