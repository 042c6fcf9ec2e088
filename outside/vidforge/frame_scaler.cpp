#include "outside/vidforge/frame_scaler.h"

extern "C" {
#include <libavutil/opt.h>
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

#include "outside/vidforge/spare_cores.h"

namespace vidforge {
namespace {

constexpr AVPixelFormat kOutputFormat = AV_PIX_FMT_YUV420P;
// "Not set" for the chroma positions: swscale then uses the format's own.
constexpr int kDefaultChromaPosition = -513;
// 4:2:0 chroma sits between two lines, the MPEG-2 way, in 1/256ths of a line.
constexpr int kMpeg2VerticalChromaPosition = 128;

bool SameAspect(AVRational a, AVRational b) {
  return a.num == b.num && a.den == b.den;
}

// The matrix for the frame's own colour space; unknown spaces are taken as BT.601.
const int* Coefficients(AVColorSpace space) {
  if (space < 1 || space > 10 || space == 8) space = AVCOL_SPC_BT470BG;
  return sws_getCoefficients(space);
}

}  // namespace

FrameScaler::FrameScaler(const AVFrame& first, int width, int height)
    : width_(width), height_(height) {
  source_.width = first.width;
  source_.height = first.height;
  source_.format = first.format;
  source_.aspect = first.sample_aspect_ratio.num > 0 ? first.sample_aspect_ratio : AVRational{1, 1};
  SetUp();
}

void FrameScaler::SetUp() {
  sws_.reset();
  if (source_.width == width_ && source_.height == height_ && source_.format == kOutputFormat)
    return;

  sws_.reset(sws_alloc_context());
  if (!sws_) throw EncodeError("out of memory");
  SwsContext* sws = sws_.get();
  av_opt_set_int(sws, "srcw", source_.width, 0);
  av_opt_set_int(sws, "srch", source_.height, 0);
  av_opt_set_int(sws, "src_format", source_.format, 0);
  av_opt_set_int(sws, "dstw", width_, 0);
  av_opt_set_int(sws, "dsth", height_, 0);
  av_opt_set_int(sws, "dst_format", kOutputFormat, 0);
  av_opt_set_int(sws, "sws_flags", SWS_BICUBIC, 0);
  av_opt_set_double(sws, "param0", SWS_PARAM_DEFAULT, 0);
  av_opt_set_double(sws, "param1", SWS_PARAM_DEFAULT, 0);
  av_opt_set_int(sws, "threads", SpareCoreThreads(), 0);
  if (source_.range != AVCOL_RANGE_UNSPECIFIED)
    av_opt_set_int(sws, "src_range", source_.range == AVCOL_RANGE_JPEG, 0);
  av_opt_set_int(sws, "src_h_chr_pos", kDefaultChromaPosition, 0);
  av_opt_set_int(
      sws, "src_v_chr_pos",
      source_.format == kOutputFormat ? kMpeg2VerticalChromaPosition : kDefaultChromaPosition, 0);
  av_opt_set_int(sws, "dst_h_chr_pos", kDefaultChromaPosition, 0);
  av_opt_set_int(sws, "dst_v_chr_pos", kMpeg2VerticalChromaPosition, 0);
  Check(sws_init_context(sws, nullptr, nullptr), "cannot scale the video");
}

AVFrame* FrameScaler::Scale(AVFrame* frame) {
  bool changed = frame->width != source_.width || frame->height != source_.height ||
                 frame->format != source_.format ||
                 !SameAspect(frame->sample_aspect_ratio, source_.aspect);
  if (frame->color_range != AVCOL_RANGE_UNSPECIFIED && frame->color_range != source_.range) {
    source_.range = frame->color_range;
    changed = true;
  }
  if (changed) {
    source_.width = frame->width;
    source_.height = frame->height;
    source_.format = frame->format;
    source_.aspect = frame->sample_aspect_ratio;
    SetUp();
  }
  if (!sws_) return frame;

  AVFrame* out = scaled_.get();
  av_frame_unref(out);
  out->format = kOutputFormat;
  out->width = width_;
  out->height = height_;
  Check(av_frame_get_buffer(out, 0), "cannot scale the video");
  Check(av_frame_copy_props(out, frame), "cannot scale the video");
  if (out->colorspace == AVCOL_SPC_RGB) out->colorspace = AVCOL_SPC_UNSPECIFIED;

  // The frame's own colour space and range decide the conversion, frame by frame.
  int* inverse_table = nullptr;
  int* table = nullptr;
  int source_full = 0, output_full = 0, brightness = 0, contrast = 0, saturation = 0;
  sws_getColorspaceDetails(sws_.get(), &inverse_table, &source_full, &table, &output_full,
                           &brightness, &contrast, &saturation);
  const int* coefficients = Coefficients(frame->colorspace);
  if (frame->color_range != AVCOL_RANGE_UNSPECIFIED)
    source_full = frame->color_range == AVCOL_RANGE_JPEG;
  sws_setColorspaceDetails(sws_.get(), coefficients, source_full, coefficients, output_full,
                           brightness, contrast, saturation);
  out->color_range = output_full ? AVCOL_RANGE_JPEG : AVCOL_RANGE_MPEG;
  av_reduce(&out->sample_aspect_ratio.num, &out->sample_aspect_ratio.den,
            static_cast<int64_t>(frame->sample_aspect_ratio.num) * height_ * frame->width,
            static_cast<int64_t>(frame->sample_aspect_ratio.den) * width_ * frame->height, INT_MAX);

  Check(sws_scale_frame(sws_.get(), out, frame), "cannot scale the video");
  return out;
}

}  // namespace vidforge
