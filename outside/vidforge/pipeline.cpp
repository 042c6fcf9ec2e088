#include "outside/vidforge/pipeline.h"

#include <cstdlib>
#include <cstring>
#include <exception>
#include <functional>
#include <mutex>
#include <system_error>
#include <thread>

#include "outside/vidforge/work_board.h"

namespace vidforge {
namespace {

// Enough decoded frames to even out frames that take longer than others, few enough that memory
// stays what one thread would use.
constexpr size_t kFrames = 8;
// Sound packets that may wait for a free thread. Few, so that the sound stays within a second
// or two of the video: the muxer interleaves by time only within 10 s.
constexpr size_t kSoundPackets = 8;

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

// Thrown inside a thread whose board was stopped because the other thread failed.
struct Stopped {};

// The first failure of either thread; it stops the board so that both end at once.
class FirstFailure {
 public:
  explicit FirstFailure(WorkBoard& board) : board_(board) {}

  // Runs `stage`, recording how it failed.
  void Guard(const std::function<void()>& stage) {
    try {
      stage();
    } catch (const Stopped&) {
      // The other thread failed first; its error is the one to report.
    } catch (...) {
      {
        std::lock_guard lock(mutex_);
        if (!error_) error_ = std::current_exception();
      }
      board_.Stop();
    }
  }

  void RethrowIfFailed() {
    std::lock_guard lock(mutex_);
    if (error_) std::rethrow_exception(error_);
  }

 private:
  WorkBoard& board_;
  std::mutex mutex_;
  std::exception_ptr error_;
};

void OrStop(bool carried_on) {
  if (!carried_on) throw Stopped{};
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
  WorkBoard board(kFrames, kSoundPackets,
                  [&](const AVPacket* packet) { stages.audio->Decode(packet); });
  FirstFailure failure(board);

  std::mutex output_lock;
  stages.video.ShareOutput(output_lock);
  if (stages.audio) stages.audio->ShareOutput(output_lock);
  stages.video.HandFramesTo([&](AVFrame* frame) {
    FramePtr handed = MakeFrame();
    av_frame_move_ref(handed.get(), frame);
    OrStop(board.PushFrame(std::move(handed)));
  });

  std::thread encoding;
  try {
    encoding = std::thread([&] {
      failure.Guard([&] {
        while (auto frame = board.PopFrame()) stages.video.Encode(frame->get());
        if (board.stopped()) throw Stopped{};
        stages.video.FinishEncoding();
      });
    });
  } catch (const std::system_error&) {
    // No thread to be had (a process limit): the same encoding, all on this one.
    stages.video.HandFramesTo({});
    RunOnOneThread(stages);
    return;
  }

  failure.Guard([&] {
    const int video_index = stages.input.video_stream()->index;
    const int audio_index = AudioIndex(stages);
    PacketPtr packet = MakePacket();
    while (ReadPacket(stages.input, packet.get())) {
      if (packet->stream_index == video_index) {
        stages.video.Decode(packet.get());
      } else if (packet->stream_index == audio_index) {
        PacketPtr handed = MakePacket();
        av_packet_move_ref(handed.get(), packet.get());
        OrStop(board.PushSound(std::move(handed)));
      }
      av_packet_unref(packet.get());
      // The sound may lag behind here by the few packets waiting; the last report below
      // catches up with what one thread would have reported after the last packet.
      ReportProgress(stages);
    }
    // How far each stream was decoded once the last packet was taken, before the drains.
    const double video_at_end = stages.video.seconds_done();
    stages.video.FinishDecoding();
    board.CloseFrames();
    OrStop(board.FinishSound());
    if (stages.progress)
      stages.progress(video_at_end, stages.audio ? stages.audio->seconds_done() : 0);
    if (stages.audio) stages.audio->Finish();
  });
  encoding.join();
  failure.RethrowIfFailed();
}

bool OneThreadRequested() {
  const char* value = std::getenv("VIDFORGE_SINGLE_THREAD");
  return value && std::strcmp(value, "1") == 0;
}

}  // namespace vidforge
