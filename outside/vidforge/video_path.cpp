#include "outside/vidforge/video_path.h"

#include <algorithm>
#include <cmath>
#include <string>

extern "C" {
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavutil/opt.h>
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

}  // namespace

VideoPath::VideoPath(const InputFile& input, const EncoderOptions& options, OutputFile& output)
    : output_(output),
      stream_(input.video_stream()),
      decoder_(OpenDecoder(input.context(), input.video_stream())),
      frame_rate_(ChooseFrameRate(options, input)),
      timeline_(input.start_seconds(), input.duration_seconds()) {
  int width = options.size ? options.size->width : stream_->codecpar->width;
  int height = options.size ? options.size->height : stream_->codecpar->height;
  if (width <= 0 || height <= 0) throw EncodeError("the input's video has no frame size");

  const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_FLV1);
  if (!codec) throw EncodeError("this FFmpeg has no Sorenson Spark (flv) encoder");
  encoder_ = MakeCodecContext(codec);
  encoder_->width = width;
  encoder_->height = height;
  encoder_->pix_fmt = AV_PIX_FMT_YUV420P;
  encoder_->time_base = av_inv_q(frame_rate_);
  encoder_->framerate = frame_rate_;
  encoder_->bit_rate = static_cast<int64_t>(options.video_bit_rate_kbits) * 1000;
  encoder_->gop_size = KeyframeInterval(frame_rate_);
  if (output.WantsGlobalHeader()) encoder_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  Check(avcodec_open2(encoder_.get(), codec, nullptr), "cannot open the flv video encoder");
  output_index_ = output.AddStream(encoder_.get(), frame_rate_);
}

void VideoPath::Decode(const AVPacket* packet) {
  if (avcodec_send_packet(decoder_.get(), packet) < 0) {
    ++damaged_packets_;
    return;
  }
  Receive();
}

void VideoPath::Receive() {
  const double frame_seconds = av_q2d(av_inv_q(frame_rate_));
  while (true) {
    const int result = avcodec_receive_frame(decoder_.get(), decoded_.get());
    if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) return;
    if (result < 0) {
      ++damaged_packets_;
      return;
    }
    std::optional<double> stamp;
    if (decoded_->best_effort_timestamp != AV_NOPTS_VALUE)
      stamp = decoded_->best_effort_timestamp * av_q2d(stream_->time_base);
    const double seconds = timeline_.Place(stamp, frame_seconds);
    decoded_->pts = std::llround(seconds * AV_TIME_BASE);
    const double duration = decoded_->pkt_duration > 0
                                ? decoded_->pkt_duration * av_q2d(stream_->time_base)
                                : frame_seconds;
    end_pts_ = decoded_->pts + std::llround(duration * AV_TIME_BASE);
    Filter(decoded_.get());
    av_frame_unref(decoded_.get());
  }
}

void VideoPath::Filter(AVFrame* decoded) {
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
      ",scale=w=" + std::to_string(encoder_->width) + ":h=" + std::to_string(encoder_->height) +
      ":flags=bicubic,format=yuv420p";
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
  while (true) {
    const int result = av_buffersink_get_frame(sink_, filtered_.get());
    if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) return;
    Check(result, "cannot filter the video");
    filtered_->pts =
        av_rescale_q(filtered_->pts, av_buffersink_get_time_base(sink_), encoder_->time_base);
    // The decoder's frame types are no orders for the encoder: it places keyframes itself.
    filtered_->pict_type = AV_PICTURE_TYPE_NONE;
    Encode(filtered_.get());
    av_frame_unref(filtered_.get());
  }
}

void VideoPath::Encode(AVFrame* frame) {
  Check(avcodec_send_frame(encoder_.get(), frame), "cannot encode the video");
  if (frame) ++frames_encoded_;
  while (true) {
    const int result = avcodec_receive_packet(encoder_.get(), encoded_.get());
    if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) return;
    Check(result, "cannot encode the video");
    // Every frame lasts one tick of the output rate; the FLV's duration counts the last one too.
    if (encoded_->duration == 0) encoded_->duration = 1;
    output_.WritePacket(encoded_.get(), encoder_->time_base, output_index_);
  }
}

void VideoPath::Finish() {
  Decode(nullptr);
  if (!graph_) throw EncodeError("no video frame could be decoded");
  // The end lies after the last frame, not at its start: otherwise the rate conversion
  // would drop that frame.
  Check(av_buffersrc_close(source_, end_pts_, AV_BUFFERSRC_FLAG_PUSH), "cannot filter the video");
  DrainFilters();
  if (frames_encoded_ == 0) throw EncodeError("no video frame could be decoded");
  Encode(nullptr);
  if (damaged_packets_ > 0)
    Warn("skipped " + std::to_string(damaged_packets_) + " damaged video packets");
}

}  // namespace vidforge
