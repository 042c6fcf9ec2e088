// The seek points of a video: the time and position of its key frames. A file with more key
// frames than kMaxEntries keeps every second one (then every fourth...), so that memory and the
// onMetaData stay bounded whatever the length of the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace metastamp {

class KeyframeIndex {
 public:
  static constexpr size_t kMaxEntries = size_t{1} << 17;

  struct Entry {
    uint32_t timestamp = 0;  // milliseconds
    uint64_t position = 0;   // of the tag, counted from the first tag kept in the new file
    friend bool operator==(const Entry&, const Entry&) = default;
  };

  void Add(uint32_t timestamp, uint64_t position);
  const std::vector<Entry>& entries() const { return entries_; }
  friend bool operator==(const KeyframeIndex&, const KeyframeIndex&) = default;

 private:
  std::vector<Entry> entries_;
  uint64_t stride_ = 1;
  uint64_t added_ = 0;
};

}  // namespace metastamp
