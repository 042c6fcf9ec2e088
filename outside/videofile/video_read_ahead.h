// The reader's video decoded ahead on a thread of its own: while the caller writes one frame,
// the next few are decoded (and converted to I420) beside it. The caller gets the same frames,
// the same end and the same failure, in the same order, as reading on its own thread would give.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "outside/videofile/video_stream_reader.h"

namespace videofile {

class VideoReadAhead {
 public:
  // Starts decoding `video` (opened, and used by nothing else from now on) at once.
  explicit VideoReadAhead(VideoStreamReader& video);
  ~VideoReadAhead();  // stops the decoding and waits for its thread
  VideoReadAhead(const VideoReadAhead&) = delete;
  VideoReadAhead& operator=(const VideoReadAhead&) = delete;

  // The next frame, as VideoStreamReader::Read gives it. After the end or a failure, the same
  // result again.
  Status Read(std::vector<std::uint8_t>& frame);
  // Frames handed to the caller so far: the reading position in frame slots.
  std::int64_t frames_read() const { return frames_read_; }

  // VIDEOFILE_READ_AHEAD=0 (for the tests, which compare both ways) reads on the caller's thread.
  static bool Wanted();

 private:
  struct Result {
    Status status = Status::kOk;
    std::vector<std::uint8_t> frame;  // empty at the end
  };
  void Decode();

  VideoStreamReader& video_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Result> results_;
  bool stopping_ = false;
  bool decoder_done_ = false;  // the last result queued is the end or a failure
  Result last_;                // kept to answer reads after the end
  std::int64_t frames_read_ = 0;
  std::thread thread_;  // last: it starts once everything above is ready
};

}  // namespace videofile
