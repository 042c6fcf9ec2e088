#include "outside/metastamp/flv_tag_reader.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "outside/metastamp/error.h"

namespace metastamp {

namespace {
constexpr char kSignature[] = {'F', 'L', 'V'};
}

FlvTagReader::FlvTagReader(ByteWindow& window) : window_(window) {
  const uint64_t size = window_.Size();
  if (size == 0) throw Error("empty file, not an FLV file");
  const auto head = window_.Peek(0, kFileHeaderSize);
  const size_t signature_bytes = std::min(head.size(), sizeof kSignature);
  if (std::memcmp(head.data(), kSignature, signature_bytes) != 0) {
    throw Error("not an FLV file (it does not begin with \"FLV\")");
  }
  if (head.size() < kFileHeaderSize) throw Error("truncated: the file ends inside the FLV header");
  header_.version = head[3];
  header_.flags = head[4];
  header_.data_offset = ReadU32(head.subspan(5));
  if (header_.version != 1) {
    throw Error("unsupported FLV version " + std::to_string(header_.version));
  }
  if (header_.data_offset < kFileHeaderSize) {
    throw Error("damaged FLV header (header size " + std::to_string(header_.data_offset) + ")");
  }
  if (first_tag_offset() > size) throw Error("truncated: the file ends inside the FLV header");
  position_ = first_tag_offset();
}

std::optional<FlvTag> FlvTagReader::Next() {
  const uint64_t size = window_.Size();
  if (position_ >= size) return std::nullopt;
  current_head_ = heads_.TakeIfAt(position_);
  const std::span<const uint8_t> head =
      current_head_ ? std::span(current_head_->bytes.data(), current_head_->length)
                    : window_.Peek(position_, kTagHeaderSize);
  if (head.size() < kTagHeaderSize) {
    throw TruncatedError("truncated: the file ends inside the tag at byte " +
                         std::to_string(position_));
  }
  FlvTag tag;
  tag.offset = position_;
  tag.type = head[0] & 0x1F;
  tag.filtered = (head[0] & 0x20) != 0;
  tag.body_size = ReadU24(head.subspan(1));
  tag.timestamp = ReadU24(head.subspan(4)) | (uint32_t{head[7]} << 24);
  if (tag.body_end() > size) {
    throw TruncatedError("truncated or damaged: the tag at byte " + std::to_string(tag.offset) +
                         " announces " + std::to_string(tag.body_size) +
                         " bytes, but the file ends at byte " + std::to_string(size));
  }
  tag.size_field_complete = size - tag.body_end() >= kTagSizeFieldSize;
  tag.end = tag.size_field_complete ? tag.body_end() + kTagSizeFieldSize : size;
  position_ = tag.end;
  return tag;
}

std::span<const uint8_t> FlvTagReader::Body(const FlvTag& tag, size_t max_length) {
  const size_t wanted = std::min<size_t>(max_length, tag.body_size);
  if (current_head_ && current_head_->offset == tag.offset &&
      kTagHeaderSize + wanted <= current_head_->length) {
    return std::span(current_head_->bytes.data() + kTagHeaderSize, wanted);
  }
  const auto body = window_.Peek(tag.body_offset(), wanted);
  if (body.size() < wanted) throw Error("the file got shorter while it was being read");
  return body;
}

}  // namespace metastamp
