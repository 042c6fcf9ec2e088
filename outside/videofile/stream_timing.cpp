#include "outside/videofile/stream_timing.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace videofile {
namespace {

bool UsableFrameRate(AVRational rate) {
  return rate.num > 0 && rate.den > 0 && av_q2d(rate) >= 1 && av_q2d(rate) <= 120;
}

}  // namespace

double StartSeconds(const AVStream* stream) {
  if (stream->start_time == AV_NOPTS_VALUE) return 0;
  return stream->start_time * av_q2d(stream->time_base);
}

std::optional<double> DeclaredEndSeconds(const AVFormatContext* input, const AVStream* stream) {
  if (input->duration_estimation_method == AVFMT_DURATION_FROM_BITRATE) return std::nullopt;
  if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0) {
    return StartSeconds(stream) + stream->duration * av_q2d(stream->time_base);
  }
  if (input->duration != AV_NOPTS_VALUE && input->duration > 0) {
    const std::int64_t start = input->start_time == AV_NOPTS_VALUE ? 0 : input->start_time;
    return static_cast<double>(start + input->duration) / AV_TIME_BASE;
  }
  return std::nullopt;
}

std::optional<double> CountedEndSeconds(const AVStream* video) {
  if (video->nb_frames <= 0 || !UsableFrameRate(video->avg_frame_rate)) return std::nullopt;
  return StartSeconds(video) + video->nb_frames / av_q2d(video->avg_frame_rate);
}

Status ScanEndSeconds(const std::string& path, std::vector<double>& end_seconds) {
  AVFormatContext* opened = nullptr;
  if (avformat_open_input(&opened, path.c_str(), nullptr, nullptr) < 0) return Status::kFail;
  InputFormatPtr input(opened);
  PacketPtr packet(av_packet_alloc());
  if (!packet) return Status::kOutOfMemory;

  std::vector<double> ends;
  for (;;) {
    const int result = av_read_frame(input.get(), packet.get());
    if (result == AVERROR_EOF) break;
    if (result < 0) return Status::kFail;
    const int index = packet->stream_index;
    if (index >= 0 && static_cast<unsigned>(index) < input->nb_streams &&
        packet->pts != AV_NOPTS_VALUE) {
      if (ends.size() < input->nb_streams) ends.resize(input->nb_streams, 0);
      const double end = (packet->pts + std::max<std::int64_t>(packet->duration, 0)) *
                         av_q2d(input->streams[index]->time_base);
      ends[index] = std::max(ends[index], end);
    }
    av_packet_unref(packet.get());
  }
  ends.resize(input->nb_streams, 0);
  end_seconds = std::move(ends);
  return Status::kOk;
}

AVRational ConstantFrameRate(const AVStream* video) {
  if (UsableFrameRate(video->avg_frame_rate)) return video->avg_frame_rate;
  if (UsableFrameRate(video->r_frame_rate)) return video->r_frame_rate;
  return AVRational{25, 1};
}

std::int32_t VideoBitRateKbps(const AVFormatContext* input, const AVStream* video) {
  std::int64_t bit_rate = video->codecpar->bit_rate;
  if (bit_rate <= 0 && input->bit_rate > 0) {
    bit_rate = input->bit_rate;
    for (unsigned i = 0; i < input->nb_streams; ++i) {
      if (input->streams[i] != video)
        bit_rate -= std::max<std::int64_t>(0, input->streams[i]->codecpar->bit_rate);
    }
  }
  if (bit_rate <= 0) return 0;
  return static_cast<std::int32_t>(
      std::min<std::int64_t>((bit_rate + 500) / 1000, std::numeric_limits<std::int32_t>::max()));
}

}  // namespace videofile
