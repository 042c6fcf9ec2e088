#include "outside/vidforge/video_path.h"

#include <algorithm>
#include <cmath>
#include <string>

extern "C" {
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
}

namespace vidforge {
namespace {

// Frames go into the filters stamped in microseconds from the start of the input.
constexpr AVRational kFilterTimeBase = {1, AV_TIME_BASE};
// Sources claiming rates outside this range have broken headers, not real rates.
constexpr double kMinSourceRate = 1;
constexpr double kMaxSourceRate = 120;
constexpr AVRational kFallbackRate = {25, 1};
// A player seeks to keyframes only, so one comes at least this often.
constexpr double kMaxKeyframeDistanceSeconds = 2;

bool IsSensibleRate(AVRational rate) {
  if (rate.num <= 0 || rate.den <= 0) return false;
  const double value = av_q2d(rate);
  return value >= kMinSourceRate && value <= kMaxSourceRate;
}

AVRational ChooseFrameRate(const EncoderOptions& options, const InputFile& input) {
  if (options.rate) return {options.rate->num, options.rate->den};
  AVStream* stream = input.video_stream();
  AVRational rate = av_guess_frame_rate(input.context(), stream, nullptr);
  if (!IsSensibleRate(rate)) rate = stream->avg_frame_rate;
  if (!IsSensibleRate(rate)) return kFallbackRate;
  // Keep the fraction small: the encoder's clock counts in 1/den steps.
  av_reduce(&rate.num, &rate.den, rate.num, rate.den, 65535);
  return rate;
}

int KeyframeInterval(AVRational rate) {
  return std::max(1, static_cast<int>(std::floor(kMaxKeyframeDistanceSeconds * av_q2d(rate))));
}

// The Sorenson Spark encoder for frames of `size` at `rate`.
CodecContextPtr OpenSparkEncoder(const FrameSize& size, AVRational rate, int bit_rate_kbits,
                                 const OutputFile& output) {
  const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_FLV1);
  if (!codec) throw EncodeError("this FFmpeg has no Sorenson Spark (flv) encoder");
  CodecContextPtr encoder = MakeCodecContext(codec);
  encoder->width = size.width;
  encoder->height = size.height;
  encoder->pix_fmt = AV_PIX_FMT_YUV420P;
  encoder->time_base = av_inv_q(rate);
  encoder->framerate = rate;
  encoder->bit_rate = static_cast<int64_t>(bit_rate_kbits) * 1000;
  encoder->gop_size = KeyframeInterval(rate);
  if (output.WantsGlobalHeader()) encoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  Check(avcodec_open2(encoder.get(), codec, nullptr), "cannot open the flv video encoder");
  return encoder;
}

FrameSize ChooseFrameSize(const EncoderOptions& options, const InputFile& input) {
  if (options.size) return *options.size;
  const AVCodecParameters* source = input.video_stream()->codecpar;
  if (source->width <= 0 || source->height <= 0)
    throw EncodeError("the input's video has no frame size");
  return {source->width, source->height};
}

}  // namespace

VideoPath::VideoPath(const InputFile& input, const EncoderOptions& options, OutputFile& output)
    : decoder_(OpenDecoder(input.context(), input.video_stream()), "video"),
      frame_rate_(ChooseFrameRate(options, input)),
      encoder_(OpenSparkEncoder(ChooseFrameSize(options, input), frame_rate_,
                                options.video_bit_rate_kbits, output),
               output, frame_rate_, "video"),
      timeline_(input.start_seconds(), input.duration_seconds()) {}

void VideoPath::Decode(const AVPacket* packet) {
  decoder_.Decode(packet, [this](AVFrame* decoded) { Filter(decoded); });
}

void VideoPath::Filter(AVFrame* decoded) {
  const double frame_seconds = av_q2d(av_inv_q(frame_rate_));
  const double seconds = timeline_.Place(decoder_.StampSeconds(decoded), frame_seconds);
  seconds_done_.store(timeline_.last(), std::memory_order_relaxed);
  decoded->pts = std::llround(seconds * AV_TIME_BASE);
  const double duration = decoded->pkt_duration > 0
                              ? decoded->pkt_duration * av_q2d(decoder_.context()->pkt_timebase)
                              : frame_seconds;
  end_pts_ = decoded->pts + std::llround(duration * AV_TIME_BASE);

  if (!graph_) BuildFilters(decoded);
  // The scaler follows a change of frame size or format on its own; the output size stays.
  Check(av_buffersrc_add_frame_flags(source_, decoded, 0), "cannot filter the video");
  DrainFilters();
}

void VideoPath::BuildFilters(const AVFrame* first) {
  graph_.reset(avfilter_graph_alloc());
  if (!graph_) throw EncodeError("out of memory");
  // Bicubic, as FFmpeg's own command line scales.
  graph_->scale_sws_opts = av_strdup("flags=bicubic");

  const AVRational aspect =
      first->sample_aspect_ratio.num > 0 ? first->sample_aspect_ratio : AVRational{1, 1};
  const std::string source_args =
      "video_size=" + std::to_string(first->width) + "x" + std::to_string(first->height) +
      ":pix_fmt=" + std::to_string(first->format) +
      ":time_base=" + std::to_string(kFilterTimeBase.num) + "/" +
      std::to_string(kFilterTimeBase.den) + ":pixel_aspect=" + std::to_string(aspect.num) + "/" +
      std::to_string(aspect.den);
  Check(avfilter_graph_create_filter(&source_, avfilter_get_by_name("buffer"), "in",
                                     source_args.c_str(), nullptr, graph_.get()),
        "cannot set up the video filters");
  Check(avfilter_graph_create_filter(&sink_, avfilter_get_by_name("buffersink"), "out", nullptr,
                                     nullptr, graph_.get()),
        "cannot set up the video filters");

  // The rate first: frames it drops are never scaled.
  const std::string chain =
      "fps=fps=" + std::to_string(frame_rate_.num) + "/" + std::to_string(frame_rate_.den) +
      ",scale=w=" + std::to_string(encoder_.context()->width) +
      ":h=" + std::to_string(encoder_.context()->height) + ":flags=bicubic,format=yuv420p";
  FilterInOutPtr outputs(avfilter_inout_alloc());
  FilterInOutPtr inputs(avfilter_inout_alloc());
  if (!outputs || !inputs) throw EncodeError("out of memory");
  outputs->name = av_strdup("in");
  outputs->filter_ctx = source_;
  inputs->name = av_strdup("out");
  inputs->filter_ctx = sink_;
  AVFilterInOut* open_inputs = inputs.release();
  AVFilterInOut* open_outputs = outputs.release();
  const int parsed =
      avfilter_graph_parse_ptr(graph_.get(), chain.c_str(), &open_inputs, &open_outputs, nullptr);
  avfilter_inout_free(&open_inputs);
  avfilter_inout_free(&open_outputs);
  Check(parsed, "cannot set up the video filters");
  Check(avfilter_graph_config(graph_.get(), nullptr), "cannot set up the video filters");
}

void VideoPath::DrainFilters() {
  const AVCodecContext* encoder = encoder_.context();
  while (true) {
    const int result = av_buffersink_get_frame(sink_, filtered_.get());
    if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) return;
    Check(result, "cannot filter the video");
    filtered_->pts =
        av_rescale_q(filtered_->pts, av_buffersink_get_time_base(sink_), encoder->time_base);
    // The decoder's frame types are no orders for the encoder: it places keyframes itself.
    filtered_->pict_type = AV_PICTURE_TYPE_NONE;
    if (take_)
      take_(filtered_.get());
    else
      Encode(filtered_.get());
    av_frame_unref(filtered_.get());
  }
}

void VideoPath::Encode(AVFrame* frame) {
  encoder_.Encode(frame);
  ++frames_encoded_;
}

void VideoPath::FinishDecoding() {
  decoder_.Drain([this](AVFrame* decoded) { Filter(decoded); });
  if (!graph_) throw EncodeError("no video frame could be decoded");
  // The end lies after the last frame, not at its start: otherwise the rate conversion
  // would drop that frame.
  Check(av_buffersrc_close(source_, end_pts_, AV_BUFFERSRC_FLAG_PUSH), "cannot filter the video");
  DrainFilters();
}

void VideoPath::FinishEncoding() {
  if (frames_encoded_ == 0) throw EncodeError("no video frame could be decoded");
  encoder_.Encode(nullptr);
}

void VideoPath::Finish() {
  FinishDecoding();
  FinishEncoding();
}

}  // namespace vidforge
