// How many threads a library may start for the work beside the video encoder.
#pragma once

#include <thread>

namespace vidforge {

// The encoding keeps one core busy with the video encoder and the rest of the work on another
// (see pipeline.h); a decoder or scaler with threads of its own would only take turns with them
// on a two-core machine. Where there are more cores, it may have the rest.
inline int SpareCoreThreads() {
  const unsigned cores = std::thread::hardware_concurrency();
  return cores > 2 ? static_cast<int>(cores - 1) : 1;
}

}  // namespace vidforge
