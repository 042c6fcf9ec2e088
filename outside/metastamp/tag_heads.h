// Where the tags of a large FLV lie, found on several threads at once.
//
// Walking the tags of a few hundred megabytes means one small read per video tag, each costing
// about a microsecond even from the page cache; the walk is a chain (each header says where the
// next tag starts), so one thread cannot go faster. Here every thread but the first starts at
// its own share of the file, finds a tag boundary by a run of tags whose sizes agree with one
// another, and walks from there. The pieces are joined only where the walk before arrives at
// exactly the boundary the next one started from; where it does not (a boundary that only
// looked like one), the rest is left out and the reader walks it itself. The result is
// therefore always what one walk from the start would have found.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "outside/metastamp/byte_source.h"
#include "outside/metastamp/flv_format.h"

namespace metastamp {

// What a survey reads of every tag: its header and the first bytes of its body (the frame type
// and the codec). Anything longer (a script's name, a picture's size) is read when asked for.
inline constexpr size_t kTagHeadBodyBytes = 4;

struct TagHead {
  uint64_t offset = 0;
  uint8_t length = 0;  // of `bytes`: the header and the body's first bytes, as far as it goes
  std::array<uint8_t, kTagHeaderSize + kTagHeadBodyBytes> bytes{};
};

// The heads, in file order, kept in the pieces the threads found them in: joining them into one
// list would copy them all once more.
class TagHeads {
 public:
  void Append(std::vector<TagHead> piece);
  bool empty() const { return pieces_.empty(); }
  const std::vector<std::vector<TagHead>>& pieces() const { return pieces_; }

  // The next head in the list when it is the tag at `offset` (moving past it), or null.
  const TagHead* TakeIfAt(uint64_t offset);

 private:
  std::vector<std::vector<TagHead>> pieces_;
  size_t piece_ = 0;
  size_t item_ = 0;
};

struct TagScanPlan {
  unsigned threads = 1;
  // Smaller files are walked by the reader alone: threads would cost more than they save.
  uint64_t min_file_size = 0;
};

// The plan for any machine: eight threads, for files of 32 MiB and more.
TagScanPlan DefaultTagScanPlan();

// The heads of consecutive tags from `first_tag` on, each whole in the file (header and body),
// as far as the threads' walks join up; empty when the plan has one thread or the file is
// smaller than the plan's size. Reading errors end the list early instead of being thrown: the
// reader meets them again where the list ends, and reports them there.
TagHeads ScanTagHeads(ByteSource& source, uint64_t first_tag, const TagScanPlan& plan);

}  // namespace metastamp
