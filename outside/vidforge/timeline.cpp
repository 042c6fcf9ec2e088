#include "outside/vidforge/timeline.h"

#include <cmath>

namespace vidforge {
namespace {

// Larger steps between two frames of one stream are no longer believed...
constexpr double kMaxLeapSeconds = 10;
// ...unless they stay inside the length the container declares, give or take this much.
constexpr double kDurationSlackSeconds = 1;

}  // namespace

double Timeline::Place(std::optional<double> source_seconds, double step) {
  const double continued = last_ ? *last_ + step : 0;
  double seconds = source_seconds ? *source_seconds - start_ - offset_ : continued;
  if (!std::isfinite(seconds) || !IsPlausible(seconds)) {
    if (source_seconds && std::isfinite(seconds)) offset_ += seconds - continued;
    seconds = continued;
  }
  last_ = seconds;
  return seconds;
}

bool Timeline::IsPlausible(double seconds) const {
  if (std::abs(seconds - last()) <= kMaxLeapSeconds) return true;
  return duration_ && seconds >= -kDurationSlackSeconds &&
         seconds <= *duration_ + kDurationSlackSeconds;
}

}  // namespace vidforge
