// Walks the tags of an FLV from its header on, reading only the 11 bytes of each tag header and
// whatever part of a body a caller asks for.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "outside/metastamp/byte_window.h"
#include "outside/metastamp/flv_format.h"
#include "outside/metastamp/tag_heads.h"

namespace metastamp {

struct FlvFileHeader {
  uint8_t version = 0;
  uint8_t flags = 0;
  uint32_t data_offset = 0;  // where the first tag's "previous tag size" field starts
};

struct FlvTag {
  uint64_t offset = 0;    // of the tag header
  uint8_t type = 0;       // the low five bits of the first byte (TagType)
  bool filtered = false;  // the body is encrypted: its content cannot be read
  uint32_t body_size = 0;
  uint32_t timestamp = 0;           // milliseconds, the extension byte included
  uint64_t end = 0;                 // where the next tag starts
  bool size_field_complete = true;  // false when the file ends inside the trailing size field

  uint64_t body_offset() const { return offset + kTagHeaderSize; }
  uint64_t body_end() const { return body_offset() + body_size; }
};

class FlvTagReader {
 public:
  // Reads and checks the file header; throws Error when it is no FLV or is cut.
  explicit FlvTagReader(ByteWindow& window);

  const FlvFileHeader& header() const { return header_; }
  uint64_t first_tag_offset() const { return uint64_t{header_.data_offset} + kTagSizeFieldSize; }

  // The next tag, or nothing at the end of the file. Throws TruncatedError when the file ends
  // inside a tag (a cut file, or a tag size that cannot be true).
  std::optional<FlvTag> Next();

  // The first `max_length` bytes of the tag's body (all of it, when shorter).
  std::span<const uint8_t> Body(const FlvTag& tag, size_t max_length);

  // Heads of the tags found beforehand (ScanTagHeads): the walk takes a tag's header and first
  // bytes from there instead of reading them, as far as the list goes.
  void UseHeads(TagHeads heads) { heads_ = std::move(heads); }

 private:
  ByteWindow& window_;
  FlvFileHeader header_;
  uint64_t position_ = 0;
  TagHeads heads_;
  const TagHead* current_head_ = nullptr;  // the head of the tag Next returned last, if known
};

}  // namespace metastamp
