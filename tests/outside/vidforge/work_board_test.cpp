// The board between the encoding's two threads: every sound packet coded once, in the order
// read, by whichever thread is free; a failure on one side releases the other.
#include "outside/vidforge/work_board.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <future>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

namespace vidforge {
namespace {

PacketPtr SoundPacket(int64_t number) {
  PacketPtr packet = MakePacket();
  packet->pts = number;
  return packet;
}

FramePtr Frame(int64_t number) {
  FramePtr frame = MakeFrame();
  frame->pts = number;
  return frame;
}

struct CodedSound {
  std::mutex mutex;
  std::vector<int64_t> order;
  std::vector<std::thread::id> coded_by;
  void Add(const AVPacket* packet) {
    std::lock_guard lock(mutex);
    order.push_back(packet->pts);
    coded_by.push_back(std::this_thread::get_id());
  }
};

TEST(WorkBoard, EveryFrameAndSoundPacketPassesOnceInOrder) {
  CodedSound sound;
  std::atomic<int> coding_at_once = 0;
  bool overlapped = false;
  WorkBoard board(2, 3, [&](const AVPacket* packet) {
    if (++coding_at_once > 1) overlapped = true;
    sound.Add(packet);
    --coding_at_once;
  });
  constexpr int kCount = 2000;
  std::vector<int64_t> encoded;
  std::thread encoder([&] {
    while (auto frame = board.PopFrame()) encoded.push_back((*frame)->pts);
  });
  for (int i = 0; i < kCount; ++i) {
    ASSERT_TRUE(board.PushSound(SoundPacket(i)));
    ASSERT_TRUE(board.PushFrame(Frame(i)));
  }
  board.CloseFrames();
  ASSERT_TRUE(board.FinishSound());
  encoder.join();

  std::vector<int64_t> expected(kCount);
  for (int i = 0; i < kCount; ++i) expected[i] = i;
  EXPECT_EQ(encoded, expected);
  EXPECT_EQ(sound.order, expected);
  EXPECT_FALSE(overlapped) << "two threads coded sound at the same time";
}

TEST(WorkBoard, TheEncodersThreadCodesTheSoundWhileItWaitsForFrames) {
  CodedSound sound;
  std::promise<void> coded_elsewhere;
  const std::thread::id reader = std::this_thread::get_id();
  WorkBoard board(4, 8, [&](const AVPacket* packet) {
    sound.Add(packet);
    if (std::this_thread::get_id() != reader && packet->pts == 2) coded_elsewhere.set_value();
  });
  std::thread encoder([&] {
    while (board.PopFrame()) {
    }
  });
  // Three packets, fewer than the reading thread codes itself: only the idle encoder's thread
  // can code them, and the reading thread waits until it has.
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(board.PushSound(SoundPacket(i)));
  coded_elsewhere.get_future().wait();
  board.CloseFrames();
  ASSERT_TRUE(board.FinishSound());
  encoder.join();
  EXPECT_EQ(sound.order, (std::vector<int64_t>{0, 1, 2}));
  for (const std::thread::id id : sound.coded_by) EXPECT_NE(id, reader);
}

TEST(WorkBoard, AFailureOnOneThreadReleasesTheOther) {
  WorkBoard board(1, 8, [](const AVPacket*) { throw std::runtime_error("cannot write"); });
  // Whichever thread codes the sound fails and stops the board, as the pipeline does; the
  // other, waiting for frames or for room meanwhile, must be let go.
  std::atomic<int> failures = 0;
  const auto stop_on_failure = [&](const std::function<void()>& work) {
    try {
      work();
    } catch (const std::runtime_error&) {
      ++failures;
      board.Stop();
    }
  };
  std::thread encoder([&] {
    stop_on_failure([&] {
      while (board.PopFrame()) {
      }
    });
  });
  int frames_pushed = 0;
  stop_on_failure([&] {
    ASSERT_TRUE(board.PushSound(SoundPacket(0)));
    while (frames_pushed < 100 && board.PushFrame(Frame(frames_pushed))) ++frames_pushed;
  });
  encoder.join();
  EXPECT_EQ(failures, 1);
  EXPECT_LT(frames_pushed, 100);
  EXPECT_TRUE(board.stopped());
  EXPECT_FALSE(board.PushSound(SoundPacket(1)));
  EXPECT_FALSE(board.PopFrame().has_value());
  EXPECT_FALSE(board.FinishSound());
}

}  // namespace
}  // namespace vidforge
