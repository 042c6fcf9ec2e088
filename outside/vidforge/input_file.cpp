#include "outside/vidforge/input_file.h"

#include <filesystem>
#include <system_error>

#include "outside/vidforge/spare_cores.h"

namespace vidforge {
namespace {

int FindVideoStream(AVFormatContext* format) {
  int index = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
  // A cover picture is not the movie.
  if (index >= 0 && !(format->streams[index]->disposition & AV_DISPOSITION_ATTACHED_PIC))
    return index;
  for (unsigned i = 0; i < format->nb_streams; ++i) {
    const AVStream* stream = format->streams[i];
    if (stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO &&
        !(stream->disposition & AV_DISPOSITION_ATTACHED_PIC))
      return static_cast<int>(i);
  }
  return -1;
}

}  // namespace

InputFile::InputFile(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error))
    throw EncodeError(
        "cannot read " + path + ": " +
        (std::filesystem::exists(path, error) ? "not a regular file" : "no such file"));

  AVDictionary* settings = nullptr;
  // A local file only: a crafted playlist must not make the encoder open other addresses.
  av_dict_set(&settings, "protocol_whitelist", "file", 0);
  AVFormatContext* opened = nullptr;
  // "file:" keeps a name such as "concat:x" or "x:y.avi" from being taken for a protocol.
  const int result = avformat_open_input(&opened, ("file:" + path).c_str(), nullptr, &settings);
  av_dict_free(&settings);
  Check(result, "cannot read " + path);
  context_.reset(opened);
  // Streams whose parameters stay unknown are no reason to give up on the others.
  const int probed = avformat_find_stream_info(context_.get(), nullptr);
  if (context_->nb_streams == 0)
    Check(probed < 0 ? probed : AVERROR_INVALIDDATA, "cannot read " + path);

  video_index_ = FindVideoStream(context_.get());
  if (video_index_ < 0) throw EncodeError(path + " has no video stream");
  audio_index_ =
      av_find_best_stream(context_.get(), AVMEDIA_TYPE_AUDIO, -1, video_index_, nullptr, 0);
  for (unsigned i = 0; i < context_->nb_streams; ++i) {
    if (static_cast<int>(i) != video_index_ && static_cast<int>(i) != audio_index_)
      context_->streams[i]->discard = AVDISCARD_ALL;
  }

  if (context_->start_time != AV_NOPTS_VALUE)
    start_seconds_ = context_->start_time / static_cast<double>(AV_TIME_BASE);
  if (context_->duration != AV_NOPTS_VALUE && context_->duration > 0)
    duration_seconds_ = context_->duration / static_cast<double>(AV_TIME_BASE);
}

std::optional<double> InputFile::fraction_read() const {
  AVIOContext* io = context_->pb;
  if (!io) return std::nullopt;
  const int64_t size = avio_size(io);
  if (size <= 0) return std::nullopt;
  return static_cast<double>(avio_tell(io)) / static_cast<double>(size);
}

CodecContextPtr OpenDecoder(AVFormatContext* format, AVStream* stream) {
  const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
  if (!codec)
    throw EncodeError(std::string("no decoder for ") +
                      avcodec_get_name(stream->codecpar->codec_id));
  CodecContextPtr decoder = MakeCodecContext(codec);
  Check(avcodec_parameters_to_context(decoder.get(), stream->codecpar),
        "cannot set up the decoder");
  decoder->pkt_timebase = stream->time_base;
  if (stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO)
    decoder->framerate = av_guess_frame_rate(format, stream, nullptr);
  decoder->thread_count = SpareCoreThreads();
  Check(avcodec_open2(decoder.get(), codec, nullptr),
        std::string("cannot open the ") + codec->name + " decoder");
  return decoder;
}

}  // namespace vidforge
