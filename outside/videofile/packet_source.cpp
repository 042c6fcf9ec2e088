#include "outside/videofile/packet_source.h"

#include <algorithm>

namespace videofile {
namespace {

// Declared durations are not exact: the last frame's duration may be missing from the packets,
// and some containers count a little preroll. A file cut short misses far more than this.
double CutShortTolerance(double declared_end_seconds) {
  return std::max(1.0, declared_end_seconds * 0.02);
}

}  // namespace

PacketSource::PacketSource(AVFormatContext* input, int video, int audio,
                           std::optional<double> declared_end_seconds)
    : input_(input), streams_{video, audio}, declared_end_seconds_(declared_end_seconds) {}

std::deque<PacketPtr>* PacketSource::QueueOf(int stream) {
  for (std::size_t i = 0; i < streams_.size(); ++i) {
    if (stream >= 0 && streams_[i] == stream) return &queues_[i];
  }
  return nullptr;
}

void PacketSource::NoteEnd(const AVPacket& packet) {
  if (packet.pts == AV_NOPTS_VALUE) return;
  const double end = (packet.pts + std::max<std::int64_t>(packet.duration, 0)) *
                     av_q2d(input_->streams[packet.stream_index]->time_base);
  latest_end_seconds_ = std::max(latest_end_seconds_, end);
}

bool PacketSource::CutShort() const {
  return declared_end_seconds_ &&
         latest_end_seconds_ < *declared_end_seconds_ - CutShortTolerance(*declared_end_seconds_);
}

Status PacketSource::Next(int stream, PacketPtr& packet) {
  std::lock_guard lock(mutex_);
  std::deque<PacketPtr>* own_queue = QueueOf(stream);
  if (own_queue == nullptr) return Status::kInvalidArgument;
  if (!own_queue->empty()) {
    packet = std::move(own_queue->front());
    own_queue->pop_front();
    return Status::kOk;
  }
  while (!ended_) {
    PacketPtr read(av_packet_alloc());
    if (!read) return Status::kOutOfMemory;
    const int result = av_read_frame(input_, read.get());
    if (result == AVERROR_EOF) {
      ended_ = true;
      break;
    }
    if (result < 0) return Status::kFail;
    if (QueueOf(read->stream_index) != nullptr) NoteEnd(*read);
    if (read->stream_index == stream) {
      packet = std::move(read);
      return Status::kOk;
    }
    if (std::deque<PacketPtr>* other_queue = QueueOf(read->stream_index)) {
      other_queue->push_back(std::move(read));
    }
  }
  if (CutShort()) return Status::kFail;
  packet.reset();
  return Status::kOk;
}

}  // namespace videofile
