// The MP4's picture: every decoded frame of the FLV at its own time, in YUV 4:2:0, encoded as
// H.264 with libx264 in the Main profile, which every browser with a <video> element plays.
#pragma once

#include <cstdint>
#include <optional>

#include "outside/vidforge/av_owners.h"
#include "outside/vidforge/frame_scaler.h"
#include "outside/webtwin/mp4_file.h"
#include "outside/webtwin/track_encoder.h"

namespace webtwin {

class VideoTrack {
 public:
  // For frames of `stream` as `decoder` gives them; adds the video stream to `output`.
  VideoTrack(const AVStream& stream, const AVCodecContext& decoder, AVRational frame_rate,
             Mp4File& output);

  // Encodes a decoded frame whose time stamp is `pts` in the stream's time base (none: right
  // after the previous frame). May change the frame's content.
  void Add(AVFrame* decoded, std::optional<int64_t> pts);
  // Drains the encoder; throws when not a single frame came through.
  void Finish();

 private:
  TrackEncoder encoder_;
  int64_t frame_ticks_;  // one frame at the stream's rate, in its time base
  std::optional<vidforge::FrameScaler> scaler_;
  std::optional<int64_t> last_pts_;
  int64_t frames_ = 0;
};

}  // namespace webtwin
