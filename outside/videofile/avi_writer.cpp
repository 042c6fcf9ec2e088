#include "outside/videofile/avi_writer.h"

#include <cmath>
#include <cstring>
#include <filesystem>

#include "outside/videofile/picture_layout.h"

namespace videofile {
namespace {

// The quantiser of the fixed-quality mode: near the best the MPEG family offers.
constexpr int kFixedQuantiser = 2;
// Frame rates of the MPEG family keep their time base denominator below this.
constexpr int kMaxTimeBaseDenominator = 65535;

bool ValidSettings(const AviWriterSettings& settings) {
  const auto valid_extent = [](int extent) { return extent > 0 && extent <= 16384; };
  if (settings.encoder == nullptr || settings.video_kbps < 0) return false;
  if (!valid_extent(settings.frame_width) || !valid_extent(settings.frame_height) ||
      !valid_extent(settings.output_width) || !valid_extent(settings.output_height)) {
    return false;
  }
  if (!std::isfinite(settings.frame_rate) || settings.frame_rate <= 0 ||
      settings.frame_rate > 1000) {
    return false;
  }
  return !settings.has_audio || (settings.sample_rate > 0 && settings.sample_rate <= 768000 &&
                                 settings.channels > 0 && settings.channels <= 8);
}

AVPixelFormat EncoderPixelFormat(const AVCodec* encoder) {
  if (encoder->pix_fmts == nullptr) return AV_PIX_FMT_YUV420P;
  for (const AVPixelFormat* format = encoder->pix_fmts; *format != AV_PIX_FMT_NONE; ++format) {
    if (*format == AV_PIX_FMT_YUV420P) return AV_PIX_FMT_YUV420P;
  }
  return encoder->pix_fmts[0];
}

}  // namespace

Status AviWriter::Create(const std::string& path, bool replace, const AviWriterSettings& settings,
                         std::unique_ptr<AviWriter>& writer) {
  if (!ValidSettings(settings)) return Status::kInvalidArgument;
  std::error_code error;
  if (!replace && std::filesystem::exists(path, error)) return Status::kFail;
  std::unique_ptr<AviWriter> created(new AviWriter(settings));
  if (const Status status = created->Open(path); status != Status::kOk) return status;
  writer = std::move(created);
  return Status::kOk;
}

Status AviWriter::Open(const std::string& path) {
  AVFormatContext* allocated = nullptr;
  if (avformat_alloc_output_context2(&allocated, nullptr, "avi", path.c_str()) < 0) {
    return Status::kFail;
  }
  output_.reset(allocated);
  packet_.reset(av_packet_alloc());
  if (!packet_) return Status::kOutOfMemory;
  if (const Status status = OpenVideoEncoder(); status != Status::kOk) return status;
  if (settings_.has_audio) {
    if (const Status status = AddAudioStream(); status != Status::kOk) return status;
  }
  if (const Status status = AllocatePictures(); status != Status::kOk) return status;
  if (avio_open(&output_->pb, path.c_str(), AVIO_FLAG_WRITE) < 0) return Status::kFail;
  if (avformat_write_header(output_.get(), nullptr) < 0) return Status::kFail;
  return Status::kOk;
}

Status AviWriter::OpenVideoEncoder() {
  encoder_.reset(avcodec_alloc_context3(settings_.encoder));
  if (!encoder_) return Status::kOutOfMemory;
  const AVRational frame_rate = av_d2q(settings_.frame_rate, kMaxTimeBaseDenominator);
  encoder_->width = EvenCeiling(settings_.output_width);
  encoder_->height = EvenCeiling(settings_.output_height);
  encoder_->pix_fmt = EncoderPixelFormat(settings_.encoder);
  encoder_->time_base = av_inv_q(frame_rate);
  encoder_->framerate = frame_rate;
  // AVI has no room for reordered frames.
  encoder_->max_b_frames = 0;
  if (settings_.video_kbps > 0) {
    encoder_->bit_rate = std::int64_t{settings_.video_kbps} * 1000;
  } else {
    encoder_->flags |= AV_CODEC_FLAG_QSCALE;
    encoder_->global_quality = FF_QP2LAMBDA * kFixedQuantiser;
  }
  if (output_->oformat->flags & AVFMT_GLOBALHEADER) {
    encoder_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  }
  if (avcodec_open2(encoder_.get(), settings_.encoder, nullptr) < 0) return Status::kFail;

  video_stream_ = avformat_new_stream(output_.get(), nullptr);
  if (video_stream_ == nullptr) return Status::kOutOfMemory;
  if (avcodec_parameters_from_context(video_stream_->codecpar, encoder_.get()) < 0) {
    return Status::kFail;
  }
  video_stream_->time_base = encoder_->time_base;
  video_stream_->avg_frame_rate = frame_rate;
  return Status::kOk;
}

Status AviWriter::AddAudioStream() {
  audio_stream_ = avformat_new_stream(output_.get(), nullptr);
  if (audio_stream_ == nullptr) return Status::kOutOfMemory;
  AVCodecParameters* parameters = audio_stream_->codecpar;
  parameters->codec_type = AVMEDIA_TYPE_AUDIO;
  parameters->codec_id = AV_CODEC_ID_PCM_S16LE;
  parameters->sample_rate = settings_.sample_rate;
  av_channel_layout_default(&parameters->ch_layout, settings_.channels);
  parameters->bits_per_coded_sample = 16;
  parameters->block_align = 2 * settings_.channels;
  parameters->bit_rate = std::int64_t{settings_.sample_rate} * parameters->block_align * 8;
  audio_stream_->time_base = AVRational{1, settings_.sample_rate};
  return Status::kOk;
}

Status AviWriter::AllocatePictures() {
  picture_.reset(av_frame_alloc());
  if (!picture_) return Status::kOutOfMemory;
  picture_->format = AV_PIX_FMT_YUV420P;
  picture_->width = EvenCeiling(settings_.frame_width);
  picture_->height = EvenCeiling(settings_.frame_height);
  if (av_frame_get_buffer(picture_.get(), 0) < 0) return Status::kOutOfMemory;
  if (encoder_->pix_fmt == AV_PIX_FMT_YUV420P && encoder_->width == picture_->width &&
      encoder_->height == picture_->height) {
    return Status::kOk;
  }

  encoder_picture_.reset(av_frame_alloc());
  if (!encoder_picture_) return Status::kOutOfMemory;
  encoder_picture_->format = encoder_->pix_fmt;
  encoder_picture_->width = encoder_->width;
  encoder_picture_->height = encoder_->height;
  if (av_frame_get_buffer(encoder_picture_.get(), 0) < 0) return Status::kOutOfMemory;
  scaler_.reset(sws_getContext(picture_->width, picture_->height, AV_PIX_FMT_YUV420P,
                               encoder_->width, encoder_->height, encoder_->pix_fmt, SWS_BICUBIC,
                               nullptr, nullptr, nullptr));
  return scaler_ ? Status::kOk : Status::kFail;
}

// Copies the packed I420 frame into the picture; an odd last column or row is repeated.
Status AviWriter::FillPicture(const std::vector<std::uint8_t>& frame) {
  if (av_frame_make_writable(picture_.get()) < 0) return Status::kOutOfMemory;
  const std::uint8_t* source = frame.data();
  for (int plane = 0; plane < 3; ++plane) {
    const int width = plane == 0 ? settings_.frame_width : ChromaExtent(settings_.frame_width);
    const int height = plane == 0 ? settings_.frame_height : ChromaExtent(settings_.frame_height);
    const int stride = picture_->linesize[plane];
    std::uint8_t* rows = picture_->data[plane];
    for (int y = 0; y < height; ++y) {
      std::uint8_t* row = rows + static_cast<std::ptrdiff_t>(y) * stride;
      std::memcpy(row, source + static_cast<std::ptrdiff_t>(y) * width, width);
      if (plane == 0 && width < picture_->width) row[width] = row[width - 1];
    }
    if (plane == 0 && height < picture_->height) {
      std::memcpy(rows + static_cast<std::ptrdiff_t>(height) * stride,
                  rows + static_cast<std::ptrdiff_t>(height - 1) * stride, picture_->width);
    }
    source += static_cast<std::ptrdiff_t>(width) * height;
  }
  return Status::kOk;
}

Status AviWriter::WriteVideoFrame(const std::vector<std::uint8_t>& frame) {
  if (frame.size() != I420Size(settings_.frame_width, settings_.frame_height)) {
    return Status::kInvalidArgument;
  }
  if (const Status status = FillPicture(frame); status != Status::kOk) return status;
  AVFrame* picture = picture_.get();
  if (encoder_picture_) {
    if (av_frame_make_writable(encoder_picture_.get()) < 0) return Status::kOutOfMemory;
    sws_scale(scaler_.get(), picture_->data, picture_->linesize, 0, picture_->height,
              encoder_picture_->data, encoder_picture_->linesize);
    picture = encoder_picture_.get();
  }
  picture->pts = frames_written_++;
  // In the fixed-quality mode the encoder takes each picture's own quality.
  picture->quality = encoder_->global_quality;
  return Encode(picture);
}

Status AviWriter::Encode(AVFrame* picture) {
  if (avcodec_send_frame(encoder_.get(), picture) < 0) return Status::kFail;
  for (;;) {
    const int received = avcodec_receive_packet(encoder_.get(), packet_.get());
    if (received == AVERROR(EAGAIN) || received == AVERROR_EOF) return Status::kOk;
    if (received < 0) return Status::kFail;
    const Status written = WritePacket(packet_.get(), encoder_->time_base, video_stream_);
    if (written != Status::kOk) return written;
  }
}

Status AviWriter::WritePacket(AVPacket* packet, AVRational time_base, AVStream* stream) {
  packet->stream_index = stream->index;
  av_packet_rescale_ts(packet, time_base, stream->time_base);
  // The muxer takes the packet's data and leaves the packet blank.
  return av_interleaved_write_frame(output_.get(), packet) < 0 ? Status::kFail : Status::kOk;
}

Status AviWriter::WriteAudioBlock(const std::vector<std::uint8_t>& block) {
  if (audio_stream_ == nullptr) return Status::kWrongState;
  const std::size_t frame_bytes = 2 * static_cast<std::size_t>(settings_.channels);
  if (block.empty() || block.size() % frame_bytes != 0 || block.size() > INT32_MAX) {
    return Status::kInvalidArgument;
  }
  av_packet_unref(packet_.get());
  if (av_new_packet(packet_.get(), static_cast<int>(block.size())) < 0) {
    return Status::kOutOfMemory;
  }
  std::memcpy(packet_->data, block.data(), block.size());
  const auto samples = static_cast<std::int64_t>(block.size() / frame_bytes);
  packet_->pts = packet_->dts = samples_written_;
  packet_->duration = samples;
  packet_->flags |= AV_PKT_FLAG_KEY;
  samples_written_ += samples;
  return WritePacket(packet_.get(), AVRational{1, settings_.sample_rate}, audio_stream_);
}

Status AviWriter::Finish() {
  if (const Status flushed = Encode(nullptr); flushed != Status::kOk) return flushed;
  if (av_write_trailer(output_.get()) < 0) return Status::kFail;
  return avio_closep(&output_->pb) < 0 ? Status::kFail : Status::kOk;
}

}  // namespace videofile
