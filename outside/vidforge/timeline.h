// Places a stream's frames on the output's timeline, in seconds from the start of the input.
// A timestamp that leaps far away (a damaged file, a clock reset) is taken as a discontinuity
// and the stream carries on where it was; otherwise the frame-rate conversion would fill the leap
// with hours of repeated frames.
#pragma once

#include <optional>

namespace vidforge {

class Timeline {
 public:
  Timeline(double start_seconds, std::optional<double> duration_seconds)
      : start_(start_seconds), duration_(duration_seconds) {}

  // `source_seconds` is the frame's own time stamp, if it has one; `step` how long the previous
  // frame lasted, used when the stamp is missing or implausible.
  double Place(std::optional<double> source_seconds, double step);

  // Time of the last frame placed, or 0 before the first.
  double last() const { return last_.value_or(0); }

 private:
  bool IsPlausible(double seconds) const;

  double start_;
  std::optional<double> duration_;
  double offset_ = 0;
  std::optional<double> last_;
};

}  // namespace vidforge
