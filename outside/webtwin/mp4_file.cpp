#include "outside/webtwin/mp4_file.h"

#include <string>

#include "outside/vidforge/av_error.h"

namespace webtwin {

using vidforge::Check;

Mp4File::Mp4File(const std::filesystem::path& final_path)
    : final_path_(final_path), file_(final_path) {
  // "file:" keeps a name such as "x:y.mp4" from being taken for a protocol. Moving the index to
  // the front reopens the file by this name to read it back.
  const std::string url = "file:" + file_.path().string();
  Check(avformat_alloc_output_context2(&context_, nullptr, "mp4", url.c_str()),
        "cannot set up the MP4 writer");
  Check(avio_open(&context_->pb, url.c_str(), AVIO_FLAG_WRITE),
        "cannot write " + final_path.string());
}

Mp4File::~Mp4File() {
  if (!context_) return;
  avio_closep(&context_->pb);
  avformat_free_context(context_);
}

int Mp4File::AddStream(const AVCodecContext* encoder) {
  AVStream* stream = avformat_new_stream(context_, nullptr);
  if (!stream) throw vidforge::EncodeError("out of memory");
  Check(avcodec_parameters_from_context(stream->codecpar, encoder), "cannot describe a stream");
  stream->time_base = encoder->time_base;
  if (encoder->codec_type == AVMEDIA_TYPE_VIDEO) stream->avg_frame_rate = encoder->framerate;
  return stream->index;
}

void Mp4File::WriteHeader() {
  AVDictionary* settings = nullptr;
  av_dict_set(&settings, "movflags", "+faststart", 0);
  const int result = avformat_write_header(context_, &settings);
  av_dict_free(&settings);
  Check(result, "cannot write the MP4 header");
}

void Mp4File::WritePacket(AVPacket* packet, AVRational encoder_time_base, int stream_index) {
  packet->stream_index = stream_index;
  av_packet_rescale_ts(packet, encoder_time_base, context_->streams[stream_index]->time_base);
  Check(av_interleaved_write_frame(context_, packet), "cannot write " + final_path_.string());
}

void Mp4File::Commit() {
  Check(av_write_trailer(context_), "cannot finish " + final_path_.string());
  // A full disk may show only when the last buffer goes out.
  Check(avio_closep(&context_->pb), "cannot finish " + final_path_.string());
  file_.MoveIntoPlace();
}

}  // namespace webtwin
