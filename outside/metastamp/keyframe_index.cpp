#include "outside/metastamp/keyframe_index.h"

namespace metastamp {

void KeyframeIndex::Add(uint32_t timestamp, uint64_t position) {
  if (added_++ % stride_ != 0) return;
  entries_.push_back({timestamp, position});
  if (entries_.size() < kMaxEntries) return;
  // Keep the entries for key frames 0, 2s, 4s... and take every 2s-th from now on.
  size_t kept = 0;
  for (size_t i = 0; i < entries_.size(); i += 2) entries_[kept++] = entries_[i];
  entries_.resize(kept);
  stride_ *= 2;
}

}  // namespace metastamp
