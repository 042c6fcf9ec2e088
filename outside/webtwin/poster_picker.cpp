#include "outside/webtwin/poster_picker.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "outside/vidforge/temporary_file.h"

extern "C" {
#include <libavutil/pixdesc.h>
}

namespace webtwin {
namespace {

using vidforge::Check;
using vidforge::EncodeError;

// Full-range luma at or below this (about 6 % of white) is a black picture to a viewer; video
// black, encoded at 16 of 235, comes out at 0.
constexpr double kBlackLuma = 16;
constexpr AVPixelFormat kPosterFormat = AV_PIX_FMT_YUVJ420P;
// The JPEG's quantiser: 2 is the finest that still pays off in size.
constexpr int kQuality = 2;

// Width and height as shown: the stored width stretched by the pixels' aspect.
void DisplaySize(const AVFrame& frame, int* width, int* height) {
  *width = frame.width;
  *height = frame.height;
  const AVRational aspect = frame.sample_aspect_ratio;
  if (aspect.num > 0 && aspect.den > 0 && aspect.num != aspect.den)
    *width = std::max<int>(1, static_cast<int>(std::lround(frame.width * av_q2d(aspect))));
}

}  // namespace

double MeanLuma(const AVFrame& picture) {
  if (picture.width <= 0 || picture.height <= 0) return 0;
  uint64_t sum = 0;
  for (int y = 0; y < picture.height; ++y) {
    const uint8_t* row = picture.data[0] + static_cast<ptrdiff_t>(y) * picture.linesize[0];
    for (int x = 0; x < picture.width; ++x) sum += row[x];
  }
  return static_cast<double>(sum) / (static_cast<double>(picture.width) * picture.height);
}

PosterPicker::PosterPicker(std::filesystem::path final_path) : final_path_(std::move(final_path)) {}

vidforge::FramePtr PosterPicker::ToDisplayPicture(const AVFrame& decoded) {
  int width = 0, height = 0;
  DisplaySize(decoded, &width, &height);
  // The scaler is cached for the size and format it was made for.
  scaler_.reset(sws_getCachedContext(scaler_.release(), decoded.width, decoded.height,
                                     static_cast<AVPixelFormat>(decoded.format), width, height,
                                     kPosterFormat, SWS_BICUBIC, nullptr, nullptr, nullptr));
  if (!scaler_) throw EncodeError("cannot convert the poster picture");
  vidforge::FramePtr picture = vidforge::MakeFrame();
  picture->format = kPosterFormat;
  picture->width = width;
  picture->height = height;
  picture->color_range = AVCOL_RANGE_JPEG;
  Check(av_frame_get_buffer(picture.get(), 0), "out of memory");
  Check(sws_scale(scaler_.get(), decoded.data, decoded.linesize, 0, decoded.height, picture->data,
                  picture->linesize),
        "cannot convert the poster picture");
  return picture;
}

void PosterPicker::Offer(const AVFrame& decoded) {
  if (chosen_) return;
  vidforge::FramePtr picture = ToDisplayPicture(decoded);
  if (MeanLuma(*picture) > kBlackLuma) {
    picked_ = std::move(picture);
    first_.reset();
    chosen_ = true;
  } else if (!first_) {
    first_ = std::move(picture);
  }
}

void PosterPicker::Write() {
  AVFrame* picture = picked_ ? picked_.get() : first_.get();
  if (!picture) throw EncodeError("not a single picture could be decoded for the poster");

  const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MJPEG);
  if (!codec) throw EncodeError("this FFmpeg has no JPEG encoder");
  vidforge::CodecContextPtr encoder = vidforge::MakeCodecContext(codec);
  encoder->width = picture->width;
  encoder->height = picture->height;
  encoder->pix_fmt = kPosterFormat;
  encoder->color_range = AVCOL_RANGE_JPEG;
  encoder->time_base = {1, 25};
  encoder->flags |= AV_CODEC_FLAG_QSCALE;
  encoder->global_quality = FF_QP2LAMBDA * kQuality;
  Check(avcodec_open2(encoder.get(), codec, nullptr), "cannot open the JPEG encoder");
  picture->quality = encoder->global_quality;
  picture->pts = 0;
  Check(avcodec_send_frame(encoder.get(), picture), "cannot encode the poster");
  Check(avcodec_send_frame(encoder.get(), nullptr), "cannot encode the poster");
  vidforge::PacketPtr packet = vidforge::MakePacket();
  Check(avcodec_receive_packet(encoder.get(), packet.get()), "cannot encode the poster");

  vidforge::TemporaryFile file(final_path_);
  AVIOContext* io = nullptr;
  const std::string cannot = "cannot write " + final_path_.string();
  Check(avio_open(&io, ("file:" + file.path().string()).c_str(), AVIO_FLAG_WRITE), cannot);
  avio_write(io, packet->data, packet->size);
  avio_flush(io);
  const int failed = io->error;
  Check(avio_closep(&io), cannot);
  Check(failed, cannot);
  file.MoveIntoPlace();
}

}  // namespace webtwin
