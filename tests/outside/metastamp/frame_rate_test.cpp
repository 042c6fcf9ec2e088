// The frame rate told from millisecond timestamps: the common rates come out exact.
#include "outside/metastamp/frame_rate.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Timestamps as a muxer writes them: the time of each frame rounded to the millisecond.
uint32_t Span(uint64_t frames, double rate) {
  return static_cast<uint32_t>(std::llround((frames - 1) * 1000.0 / rate));
}

TEST(FrameRate, CommonRatesComeOutExact) {
  for (const double rate : {15.0, 25.0, 30.0, 7.5, 12.5, 1.0, 60.0, 120.0, 17.0}) {
    for (const uint64_t frames : {2u, 3u, 30u, 1000u, 100000u}) {
      EXPECT_DOUBLE_EQ(metastamp::EstimateFrameRate(frames, Span(frames, rate)), rate)
          << frames << " frames at " << rate;
    }
  }
}

TEST(FrameRate, NtscRatesComeOutExactOverEnoughFrames) {
  // Over a few frames 29.97 cannot be told from 30; over a few seconds it can.
  for (const double rate : {24000.0 / 1001, 30000.0 / 1001, 60000.0 / 1001}) {
    for (const uint64_t frames : {300u, 100000u}) {
      EXPECT_DOUBLE_EQ(metastamp::EstimateFrameRate(frames, Span(frames, rate)), rate)
          << frames << " frames at " << rate;
    }
  }
}

TEST(FrameRate, AnIrregularRateGivesTheAverage) {
  // 11 frames over 1234 ms: no simple rate fits.
  EXPECT_DOUBLE_EQ(metastamp::EstimateFrameRate(11, 1234), 8.104);
}

TEST(FrameRate, UnknownWithoutTwoDistinctTimes) {
  EXPECT_EQ(metastamp::EstimateFrameRate(0, 0), 0);
  EXPECT_EQ(metastamp::EstimateFrameRate(1, 0), 0);
  EXPECT_EQ(metastamp::EstimateFrameRate(5, 0), 0);
}

}  // namespace
