// Decodes one stream of an input into frames, skipping packets the decoder rejects, so that a
// damaged stretch costs a few frames rather than the whole file.
#pragma once

#include "outside/videofile/av_owners.h"
#include "outside/videofile/packet_source.h"
#include "outside/videofile/video_file.h"

namespace videofile {

class StreamDecoder {
 public:
  StreamDecoder(PacketSource& packets, AVStream* stream);

  Status Open(const AVCodec* codec);

  // The next frame into `frame`; `got_frame` false once the stream has ended. Fails on a read
  // error, and when so many packets in a row fail to decode that the stream is plainly broken.
  Status Next(AVFrame* frame, bool& got_frame);

  AVStream* stream() const { return stream_; }
  AVCodecContext* context() const { return context_.get(); }

 private:
  Status CountFailure();

  PacketSource& packets_;
  AVStream* stream_;
  CodecContextPtr context_;
  bool draining_ = false;
  int failures_in_a_row_ = 0;
};

}  // namespace videofile
