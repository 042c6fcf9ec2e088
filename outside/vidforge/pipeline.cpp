#include "outside/vidforge/pipeline.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#include "outside/vidforge/bounded_queue.h"

namespace vidforge {
namespace {

// A few frames in each queue: enough to even out frames that take longer than others, small
// enough that memory stays what one thread would use.
constexpr size_t kVideoPackets = 4;
constexpr size_t kFrames = 4;
constexpr size_t kAudioPackets = 16;

// Reads the next packet; false at the end of the input.
bool ReadPacket(InputFile& input, AVPacket* packet) {
  const int result = av_read_frame(input.context(), packet);
  if (result >= 0) return true;
  // A truncated or damaged file ends here; what was decoded so far is still a movie.
  if (result != AVERROR_EOF) Warn("the input ends early: " + ErrorText(result));
  return false;
}

int AudioIndex(const EncodingStages& stages) {
  return stages.audio ? stages.input.audio_stream()->index : -1;
}

void ReportProgress(const EncodingStages& stages) {
  if (!stages.progress) return;
  stages.progress(stages.video.seconds_done(), stages.audio ? stages.audio->seconds_done() : 0);
}

// Thrown inside a stage whose queue was stopped because another stage failed.
struct Stopped {};

// The first failure of any stage; it stops every queue so that all stages end at once.
class FirstFailure {
 public:
  explicit FirstFailure(std::function<void()> stop_all) : stop_all_(std::move(stop_all)) {}

  // Runs `stage`, recording how it failed.
  void Guard(const std::function<void()>& stage) {
    try {
      stage();
    } catch (const Stopped&) {
      // Another stage failed first; its error is the one to report.
    } catch (...) {
      {
        std::lock_guard lock(mutex_);
        if (!error_) error_ = std::current_exception();
      }
      stop_all_();
    }
  }

  void RethrowIfFailed() {
    std::lock_guard lock(mutex_);
    if (error_) std::rethrow_exception(error_);
  }

 private:
  std::function<void()> stop_all_;
  std::mutex mutex_;
  std::exception_ptr error_;
};

template <typename T>
void PushOrStop(BoundedQueue<T>& queue, T item) {
  if (!queue.Push(std::move(item))) throw Stopped{};
}

}  // namespace

void RunOnOneThread(EncodingStages& stages) {
  const int video_index = stages.input.video_stream()->index;
  const int audio_index = AudioIndex(stages);
  PacketPtr packet = MakePacket();
  while (ReadPacket(stages.input, packet.get())) {
    if (packet->stream_index == video_index)
      stages.video.Decode(packet.get());
    else if (packet->stream_index == audio_index)
      stages.audio->Decode(packet.get());
    av_packet_unref(packet.get());
    ReportProgress(stages);
  }
  stages.video.Finish();
  if (stages.audio) stages.audio->Finish();
}

void RunPipelined(EncodingStages& stages) {
  BoundedQueue<PacketPtr> video_packets(kVideoPackets);
  BoundedQueue<FramePtr> frames(kFrames);
  BoundedQueue<PacketPtr> audio_packets(kAudioPackets);
  FirstFailure failure([&] {
    video_packets.Stop();
    frames.Stop();
    audio_packets.Stop();
  });

  std::mutex output_lock;
  stages.video.ShareOutput(output_lock);
  if (stages.audio) stages.audio->ShareOutput(output_lock);
  stages.video.HandFramesTo([&](AVFrame* frame) {
    FramePtr handed = MakeFrame();
    av_frame_move_ref(handed.get(), frame);
    PushOrStop(frames, std::move(handed));
  });

  // A stage that finds its queue stopped ends without finishing: the run is abandoned.
  auto finish_unless_stopped = [](const auto& queue, const std::function<void()>& finish) {
    if (queue.stopped()) throw Stopped{};
    finish();
  };
  // How far each stream was decoded when its last packet had been taken, before the drains.
  std::atomic<double> video_at_end = -1;
  std::atomic<double> audio_at_end = stages.audio ? -1 : 0;
  std::vector<std::thread> threads;
  threads.emplace_back([&] {
    failure.Guard([&] {
      while (auto packet = video_packets.Pop()) stages.video.Decode(packet->get());
      finish_unless_stopped(video_packets, [&] {
        video_at_end = stages.video.seconds_done();
        stages.video.FinishDecoding();
      });
      frames.Close();
    });
  });
  threads.emplace_back([&] {
    failure.Guard([&] {
      while (auto frame = frames.Pop()) stages.video.Encode(frame->get());
      finish_unless_stopped(frames, [&] { stages.video.FinishEncoding(); });
    });
  });
  if (stages.audio) {
    threads.emplace_back([&] {
      failure.Guard([&] {
        while (auto packet = audio_packets.Pop()) stages.audio->Decode(packet->get());
        finish_unless_stopped(audio_packets, [&] {
          audio_at_end = stages.audio->seconds_done();
          stages.audio->Finish();
        });
      });
    });
  }

  failure.Guard([&] {
    const int video_index = stages.input.video_stream()->index;
    const int audio_index = AudioIndex(stages);
    PacketPtr packet = MakePacket();
    while (ReadPacket(stages.input, packet.get())) {
      PacketPtr handed = MakePacket();
      av_packet_move_ref(handed.get(), packet.get());
      if (handed->stream_index == video_index)
        PushOrStop(video_packets, std::move(handed));
      else if (handed->stream_index == audio_index)
        PushOrStop(audio_packets, std::move(handed));
      ReportProgress(stages);
    }
    video_packets.Close();
    audio_packets.Close();
  });
  for (std::thread& thread : threads) thread.join();
  if (stages.progress && video_at_end >= 0 && audio_at_end >= 0)
    stages.progress(video_at_end, audio_at_end);
  failure.RethrowIfFailed();
}

bool OneThreadRequested() {
  const char* value = std::getenv("VIDFORGE_SINGLE_THREAD");
  return value && std::strcmp(value, "1") == 0;
}

}  // namespace vidforge
