#include "outside/webtwin/video_track.h"

#include <algorithm>

extern "C" {
#include <libavutil/opt.h>
}

namespace webtwin {
namespace {

using vidforge::Check;
using vidforge::EncodeError;

// 4:2:0 pictures have whole chroma samples only at even sizes; an FLV may have any size.
int EvenSize(int size) {
  return std::max(2, size & ~1);
}

vidforge::CodecContextPtr OpenH264Encoder(const AVStream& stream, const AVCodecContext& decoder,
                                          AVRational frame_rate) {
  const AVCodec* codec = avcodec_find_encoder_by_name("libx264");
  if (!codec) throw EncodeError("this FFmpeg has no H.264 encoder (libx264)");
  vidforge::CodecContextPtr encoder = vidforge::MakeCodecContext(codec);
  encoder->width = EvenSize(decoder.width);
  encoder->height = EvenSize(decoder.height);
  encoder->sample_aspect_ratio = decoder.sample_aspect_ratio;
  encoder->pix_fmt = AV_PIX_FMT_YUV420P;
  encoder->color_range = AVCOL_RANGE_MPEG;
  // The FLV's own clock (milliseconds), so that every frame keeps its time exactly.
  encoder->time_base = stream.time_base;
  encoder->framerate = frame_rate;
  encoder->flags |= Mp4File::kEncoderFlags;
  AVDictionary* settings = nullptr;
  av_dict_set(&settings, "preset", "fast", 0);
  av_dict_set(&settings, "crf", "23", 0);
  av_dict_set(&settings, "profile", "main", 0);
  const int result = avcodec_open2(encoder.get(), codec, &settings);
  av_dict_free(&settings);
  Check(result, "cannot open the H.264 encoder");
  return encoder;
}

}  // namespace

VideoTrack::VideoTrack(const AVStream& stream, const AVCodecContext& decoder, AVRational frame_rate,
                       Mp4File& output)
    : encoder_(OpenH264Encoder(stream, decoder, frame_rate), output, "video"),
      frame_ticks_(std::max<int64_t>(1, av_rescale_q(1, av_inv_q(frame_rate), stream.time_base))) {}

void VideoTrack::Add(AVFrame* decoded, std::optional<int64_t> pts) {
  if (!pts) pts = last_pts_ ? *last_pts_ + frame_ticks_ : 0;
  // A damaged file may repeat or go back in time; the MP4 needs times that only go forward.
  if (last_pts_ && *pts <= *last_pts_) return;
  AVCodecContext* context = encoder_.context();
  if (!scaler_) scaler_.emplace(*decoded, context->width, context->height);
  AVFrame* picture = scaler_->Scale(decoded);
  picture->pts = *pts;
  // The FLV's frame types are no orders for this encoder.
  picture->pict_type = AV_PICTURE_TYPE_NONE;
  encoder_.Encode(picture, frame_ticks_);
  last_pts_ = pts;
  ++frames_;
}

void VideoTrack::Finish() {
  if (frames_ == 0) throw EncodeError("not a single picture could be decoded");
  encoder_.Encode(nullptr, frame_ticks_);
}

}  // namespace webtwin
