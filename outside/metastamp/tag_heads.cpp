#include "outside/metastamp/tag_heads.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <span>
#include <system_error>
#include <thread>

#include "outside/metastamp/byte_window.h"

namespace metastamp {

namespace {

constexpr size_t kWindowSize = 256 * 1024;
// The walks spend their time waiting: on memory, for pages of the page cache, and on the disk,
// for pages that are not (or no longer) cached. More walks than cores keep that waiting going on
// side by side; on a two-core machine eight walks were as fast as two on a cached file, and
// twice as fast where a tenth of the file had to come from the disk.
constexpr unsigned kThreads = 8;
constexpr uint64_t kDefaultMinFileSize = uint64_t{32} << 20;
// A boundary is believed after this many tags in a row whose trailing size fields match them.
constexpr int kTagsToAgree = 4;
// How far past its starting point a thread looks for a boundary before it gives up its share.
constexpr uint64_t kMaxSyncSearch = uint64_t{1} << 20;
constexpr size_t kSyncBlock = 64 * 1024;

struct Walk {
  std::optional<uint64_t> start;  // the tag boundary it began at; none found: nothing walked
  uint64_t end = 0;     // where it stopped: the first tag at or past its share's end, or the first
                        // tag not whole in the file
  bool failed = false;  // a read failed, or memory ran out: the walk ended early
  std::vector<TagHead> heads;
};

// Whether `header`, as much of a tag header as is at hand, may begin a tag: a known type, no
// reserved or encryption flags, and as far as it goes, stream id 0.
bool MayStartTag(std::span<const uint8_t> header) {
  const uint8_t type = header[0] & 0x1F;
  if ((header[0] & 0xC0) != 0 || (type != kTagAudio && type != kTagVideo && type != kTagScript))
    return false;
  return std::all_of(header.begin() + std::min<size_t>(header.size(), 8), header.end(),
                     [](uint8_t byte) { return byte == 0; });
}

// The tag at `offset`, if it looks like one: a known type, stream id 0, its body within the
// file and its trailing size field counting it. Where it is, `next` gets the following tag.
bool LooksLikeTag(ByteSource& source, uint64_t offset, uint64_t& next) {
  const uint64_t size = source.Size();
  std::array<uint8_t, kTagHeaderSize> header{};
  if (source.ReadAt(offset, header) != header.size() || !MayStartTag(header)) return false;
  const uint32_t body_size = ReadU24(std::span(header).subspan(1));
  const uint64_t body_end = offset + kTagHeaderSize + body_size;
  if (body_end + kTagSizeFieldSize > size) return false;
  std::array<uint8_t, kTagSizeFieldSize> field{};
  if (source.ReadAt(body_end, field) != field.size()) return false;
  if (ReadU32(field) != kTagHeaderSize + body_size) return false;
  next = body_end + kTagSizeFieldSize;
  return true;
}

bool StartsRunOfTags(ByteSource& source, uint64_t offset) {
  for (int i = 0; i < kTagsToAgree && offset < source.Size(); ++i) {
    if (!LooksLikeTag(source, offset, offset)) return false;
  }
  return true;
}

// The first offset at or after `from`, before `limit`, where a run of agreeing tags starts.
std::optional<uint64_t> FindBoundary(ByteSource& source, uint64_t from, uint64_t limit) {
  std::vector<uint8_t> block(kSyncBlock);
  for (uint64_t at = from; at < limit;) {
    const size_t got = source.ReadAt(at, block);
    if (got == 0) break;
    for (size_t i = 0; i < got && at + i < limit; ++i) {
      // Nearly every byte fails on what the block holds of its would-be header (a type, flags
      // and a stream id of 0): only the rest cost reads of their own, each as dear as a walk's.
      const auto header = std::span(block).subspan(i, std::min(got - i, kTagHeaderSize));
      if (MayStartTag(header) && StartsRunOfTags(source, at + i)) return at + i;
    }
    at += got;
  }
  return std::nullopt;
}

// Walks from `walk.start` to the first tag at or past `stop`, recording each tag's head.
void WalkTags(ByteSource& source, uint64_t stop, Walk& walk) {
  const uint64_t size = source.Size();
  ByteWindow window(source, kWindowSize);
  uint64_t position = *walk.start;
  // A guess from the share's size and a typical tag of a few kilobytes.
  walk.heads.reserve(static_cast<size_t>(std::min<uint64_t>((stop - position) / 4096, 1 << 20)));
  while (position < stop && position < size) {
    const std::span<const uint8_t> head = window.Peek(position, kTagHeaderSize + kTagHeadBodyBytes);
    if (head.size() < kTagHeaderSize) break;
    const uint32_t body_size = ReadU24(head.subspan(1));
    const uint64_t body_end = position + kTagHeaderSize + body_size;
    if (body_end > size) break;
    TagHead& tag = walk.heads.emplace_back();
    tag.offset = position;
    tag.length = static_cast<uint8_t>(std::min<size_t>(
        head.size(), kTagHeaderSize + std::min<size_t>(body_size, kTagHeadBodyBytes)));
    std::copy_n(head.begin(), tag.length, tag.bytes.begin());
    // As the reader steps: past the trailing size field, or to the end where it is cut.
    position = size - body_end >= kTagSizeFieldSize ? body_end + kTagSizeFieldSize : size;
  }
  walk.end = position;
}

void RunWalk(ByteSource& source, uint64_t share_begin, uint64_t share_end, bool find_boundary,
             Walk& walk) {
  try {
    walk.start = find_boundary ? FindBoundary(source, share_begin,
                                              std::min(share_end, share_begin + kMaxSyncSearch))
                               : share_begin;
    if (walk.start) WalkTags(source, share_end, walk);
  } catch (...) {
    // A read that failed (or memory that ran out): the reader meets the same on its own walk.
    walk.failed = true;
  }
}

}  // namespace

void TagHeads::Append(std::vector<TagHead> piece) {
  if (!piece.empty()) pieces_.push_back(std::move(piece));
}

const TagHead* TagHeads::TakeIfAt(uint64_t offset) {
  if (piece_ >= pieces_.size()) return nullptr;
  const TagHead& head = pieces_[piece_][item_];
  if (head.offset != offset) return nullptr;
  if (++item_ == pieces_[piece_].size()) {
    ++piece_;
    item_ = 0;
  }
  return &head;
}

TagScanPlan DefaultTagScanPlan() {
  return {kThreads, kDefaultMinFileSize};
}

TagHeads ScanTagHeads(ByteSource& source, uint64_t first_tag, const TagScanPlan& plan) {
  const uint64_t size = source.Size();
  if (plan.threads < 2 || size < plan.min_file_size || first_tag >= size) return {};

  const unsigned count = plan.threads;
  std::vector<uint64_t> share_begins(count + 1);
  for (unsigned i = 0; i <= count; ++i)
    share_begins[i] = first_tag + (size - first_tag) / count * i;
  share_begins[count] = size;

  std::vector<Walk> walks(count);
  std::vector<std::thread> threads;
  threads.reserve(count - 1);
  try {
    for (unsigned i = 1; i < count; ++i) {
      threads.emplace_back(
          [&, i] { RunWalk(source, share_begins[i], share_begins[i + 1], true, walks[i]); });
    }
  } catch (const std::system_error&) {
    // No more threads to be had (a process limit): the shares not started are left to the
    // reader, whose walk needs none.
  }
  RunWalk(source, share_begins[0], share_begins[1], false, walks[0]);
  for (std::thread& thread : threads) thread.join();

  TagHeads heads;
  heads.Append(std::move(walks[0].heads));
  for (unsigned i = 1; i < count; ++i) {
    const Walk& before = walks[i - 1];
    // Joined only where the walk before stepped onto the very tag this one started from.
    if (before.failed || !walks[i].start || before.end != *walks[i].start) break;
    heads.Append(std::move(walks[i].heads));
  }
  return heads;
}

}  // namespace metastamp
