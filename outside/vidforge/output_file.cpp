#include "outside/vidforge/output_file.h"

#include <sys/stat.h>

#include "outside/vidforge/av_error.h"
#include "outside/vidforge/options.h"

namespace vidforge {

void CheckOutputKind(const std::filesystem::path& output) {
  struct stat info {};
  if (::stat(output.c_str(), &info) != 0) {
    // Nothing there (a dangling link included): the new file is made. Any other reason shows
    // when the output is written.
    return;
  }
  if (S_ISREG(info.st_mode)) return;
  throw UsageError(output.string() +
                   (S_ISDIR(info.st_mode) ? " is a folder" : " is not a regular file") +
                   ", not an FLV output");
}

OutputFile::OutputFile(const std::filesystem::path& final_path) : file_(final_path) {
  Check(avformat_alloc_output_context2(&context_, nullptr, "flv", nullptr),
        "cannot set up the FLV writer");
  // "file:" keeps a name such as "x:y.flv" from being taken for a protocol.
  Check(avio_open(&context_->pb, ("file:" + file_.path().string()).c_str(), AVIO_FLAG_WRITE),
        "cannot write " + final_path.string());
}

OutputFile::~OutputFile() {
  if (!context_) return;
  avio_closep(&context_->pb);
  avformat_free_context(context_);
}

bool OutputFile::WantsGlobalHeader() const {
  return context_->oformat->flags & AVFMT_GLOBALHEADER;
}

int OutputFile::AddStream(const AVCodecContext* encoder, AVRational frame_rate) {
  AVStream* stream = avformat_new_stream(context_, nullptr);
  if (!stream) throw EncodeError("out of memory");
  Check(avcodec_parameters_from_context(stream->codecpar, encoder), "cannot describe a stream");
  stream->time_base = encoder->time_base;
  // onMetaData's framerate comes from here.
  stream->avg_frame_rate = frame_rate;
  return stream->index;
}

void OutputFile::SetMetadata(const std::string& key, const std::string& value) {
  Check(av_dict_set(&context_->metadata, key.c_str(), value.c_str(), 0), "out of memory");
}

void OutputFile::WriteHeader() {
  Check(avformat_write_header(context_, nullptr), "cannot write the FLV header");
}

void OutputFile::WritePacket(AVPacket* packet, AVRational encoder_time_base, int stream_index) {
  packet->stream_index = stream_index;
  av_packet_rescale_ts(packet, encoder_time_base, context_->streams[stream_index]->time_base);
  Check(av_interleaved_write_frame(context_, packet), "cannot write the FLV");
}

void OutputFile::Commit() {
  Check(av_write_trailer(context_), "cannot finish the FLV");
  // A full disk may show only when the last buffer goes out.
  Check(avio_closep(&context_->pb), "cannot finish the FLV");
  file_.MoveIntoPlace();
}

}  // namespace vidforge
