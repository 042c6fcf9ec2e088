// Demultiplexes an opened input for two stream readers: each asks for the next packet of its own
// stream, and packets of the other one wait in a queue until that reader asks. An input whose
// packets end well before the end it declares was cut short: that is an error, not an end.
#pragma once

#include <array>
#include <deque>
#include <mutex>
#include <optional>

#include "outside/videofile/av_owners.h"
#include "outside/videofile/video_file.h"

namespace videofile {

class PacketSource {
 public:
  // `video` and `audio` are stream indexes of `input`; -1 for a stream that is not read.
  // `declared_end_seconds` is where the later of the two streams should end, if known.
  PacketSource(AVFormatContext* input, int video, int audio,
               std::optional<double> declared_end_seconds);

  // The next packet of `stream`, or null in `packet` once the input has ended. Fails on a read
  // error other than the end of the file, and at the end of a file that was cut short. The two
  // readers may ask from two threads (the video decoded ahead): each still gets its own
  // stream's packets in the file's order.
  Status Next(int stream, PacketPtr& packet);

 private:
  std::deque<PacketPtr>* QueueOf(int stream);
  void NoteEnd(const AVPacket& packet);
  bool CutShort() const;

  std::mutex mutex_;
  AVFormatContext* input_;
  std::array<int, 2> streams_;
  std::array<std::deque<PacketPtr>, 2> queues_;
  std::optional<double> declared_end_seconds_;
  double latest_end_seconds_ = 0;
  bool ended_ = false;
};

}  // namespace videofile
