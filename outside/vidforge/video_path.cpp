#include "outside/vidforge/video_path.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "outside/vidforge/picture_geometry.h"

namespace vidforge {
namespace {

// Frames go into the rate conversion stamped in microseconds from the start of the input.
constexpr AVRational kConverterTimeBase = {1, AV_TIME_BASE};
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

// A size asked for is the upright picture's; without one the picture keeps its display shape.
FrameSize ChooseFrameSize(const EncoderOptions& options, const InputFile& input) {
  if (options.size) return *options.size;
  return DisplaySize(input.context(), input.video_stream());
}

std::optional<FrameRotator> RotatorFor(const InputFile& input) {
  const int turn = UprightTurn(input.video_stream());
  if (turn == 0) return std::nullopt;
  return FrameRotator(turn);
}

}  // namespace

VideoPath::VideoPath(const InputFile& input, const EncoderOptions& options, OutputFile& output)
    : decoder_(OpenDecoder(input.context(), input.video_stream()), "video"),
      frame_rate_(ChooseFrameRate(options, input)),
      encoder_(OpenSparkEncoder(ChooseFrameSize(options, input), frame_rate_,
                                options.video_bit_rate_kbits, output),
               output, frame_rate_, "video"),
      timeline_(input.start_seconds(), input.duration_seconds()),
      rate_converter_(kConverterTimeBase, frame_rate_),
      rotator_(RotatorFor(input)) {}

void VideoPath::Decode(const AVPacket* packet) {
  decoder_.Decode(packet, [this](AVFrame* decoded) { Convert(decoded); });
}

void VideoPath::Convert(AVFrame* decoded) {
  const double frame_seconds = av_q2d(av_inv_q(frame_rate_));
  const double seconds = timeline_.Place(decoder_.StampSeconds(decoded), frame_seconds);
  seconds_done_.store(timeline_.last(), std::memory_order_relaxed);
  decoded->pts = std::llround(seconds * AV_TIME_BASE);
  const double duration = decoded->pkt_duration > 0
                              ? decoded->pkt_duration * av_q2d(decoder_.context()->pkt_timebase)
                              : frame_seconds;
  end_pts_ = decoded->pts + std::llround(duration * AV_TIME_BASE);

  // The scaler follows a change of frame size or format on its own; the output size stays.
  // It works at the stored orientation: a sideways picture is turned after scaling.
  if (!scaler_) {
    int width = encoder_.context()->width, height = encoder_.context()->height;
    if (rotator_) rotator_->StoredSize(&width, &height);
    scaler_.emplace(*decoded, width, height);
  }
  // The rate first: frames it drops are never scaled.
  rate_converter_.Push(decoded, [this](AVFrame* converted) { Deliver(converted); });
}

void VideoPath::Deliver(AVFrame* converted) {
  AVFrame* picture = scaler_->Scale(converted);
  if (rotator_) {
    AVFrame* upright = rotator_->Rotate(*picture);
    av_frame_unref(picture);
    picture = upright;
  }
  picture->pts =
      av_rescale_q(picture->pts, rate_converter_.time_base(), encoder_.context()->time_base);
  // The decoder's frame types are no orders for the encoder: it places keyframes itself.
  picture->pict_type = AV_PICTURE_TYPE_NONE;
  hash_log_.Write(*picture);
  if (take_)
    take_(picture);
  else
    Encode(picture);
  av_frame_unref(picture);
}

void VideoPath::Encode(AVFrame* frame) {
  encoder_.Encode(frame);
  ++frames_encoded_;
}

void VideoPath::FinishDecoding() {
  decoder_.Drain([this](AVFrame* decoded) { Convert(decoded); });
  if (!scaler_) throw EncodeError("no video frame could be decoded");
  // The end lies after the last frame, not at its start: otherwise the rate conversion
  // would drop that frame.
  rate_converter_.Finish(end_pts_, [this](AVFrame* converted) { Deliver(converted); });
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
