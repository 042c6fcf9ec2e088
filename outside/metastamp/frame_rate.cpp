#include "outside/metastamp/frame_rate.h"

#include <cmath>
#include <initializer_list>
#include <limits>

namespace metastamp {

namespace {

constexpr double kCommonRates[] = {24, 25, 30, 15, 10, 12, 50,  60,  20,  5,  1,
                                   2,  6,  8,  48, 72, 90, 100, 120, 144, 240};

// Of the multiples of 1/denominator within [low, high], the one nearest to `mid`, if any.
bool PickMultiple(double low, double high, double mid, double denominator, double& rate) {
  const double nearest = std::round(mid * denominator) / denominator;
  if (nearest >= low && nearest <= high) {
    rate = nearest;
    return true;
  }
  const double first = std::ceil(low * denominator) / denominator;
  if (first <= high) {
    rate = first;
    return true;
  }
  return false;
}

// Of the common rates within [low, high], the one nearest to `mid`, if any.
bool PickCommon(double low, double high, double mid, double& rate) {
  bool found = false;
  for (const double common : kCommonRates) {
    if (common < low || common > high) continue;
    if (!found || std::abs(common - mid) < std::abs(rate - mid)) rate = common;
    found = true;
  }
  return found;
}

}  // namespace

double EstimateFrameRate(uint64_t count, uint32_t span_ms) {
  if (count < 2 || span_ms == 0) return 0;
  const double intervals = static_cast<double>(count - 1);
  const double mid = 1000.0 * intervals / span_ms;
  const double low = 1000.0 * intervals / (span_ms + 1.0);
  const double high =
      span_ms > 1 ? 1000.0 * intervals / (span_ms - 1.0) : std::numeric_limits<double>::infinity();
  double rate = 0;
  if (PickCommon(low, high, mid, rate) || PickMultiple(low, high, mid, 1, rate) ||
      PickMultiple(low, high, mid, 2, rate)) {
    return rate;
  }
  for (const double ntsc : {24.0, 30.0, 48.0, 60.0, 120.0}) {
    const double candidate = ntsc * 1000.0 / 1001.0;
    if (candidate >= low && candidate <= high) return candidate;
  }
  return std::round(mid * 1000.0) / 1000.0;
}

}  // namespace metastamp
