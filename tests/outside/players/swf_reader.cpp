#include "swf_reader.h"

#include <cstdio>
#include <cstring>
#include <set>
#include <sstream>
#include <stdexcept>

namespace players_test {
namespace {

class Cursor {
 public:
  Cursor(const std::string& bytes, size_t start = 0) : bytes_(bytes), at_(start) {}
  uint32_t U8() {
    Need(1);
    return static_cast<uint8_t>(bytes_[at_++]);
  }
  uint32_t U16() {
    const uint32_t low = U8();
    return low | (U8() << 8);
  }
  uint32_t U32() {
    const uint32_t low = U16();
    return low | (U16() << 16);
  }
  std::string Take(size_t count) {
    Need(count);
    std::string out = bytes_.substr(at_, count);
    at_ += count;
    return out;
  }
  std::string String() {
    const size_t end = bytes_.find('\0', at_);
    if (end == std::string::npos) throw std::runtime_error("string without its end");
    std::string out = bytes_.substr(at_, end - at_);
    at_ = end + 1;
    return out;
  }
  size_t at() const { return at_; }
  void Seek(size_t at) { at_ = at; }
  bool AtEnd() const { return at_ >= bytes_.size(); }

 private:
  void Need(size_t count) const {
    if (at_ + count > bytes_.size()) throw std::runtime_error("data ends inside a field");
  }
  const std::string& bytes_;
  size_t at_;
};

class BitCursor {
 public:
  BitCursor(Cursor& bytes) : bytes_(bytes) {}
  uint32_t Unsigned(int bits) {
    uint32_t value = 0;
    for (int i = 0; i < bits; ++i) {
      if (left_ == 0) {
        current_ = bytes_.U8();
        left_ = 8;
      }
      --left_;
      value = (value << 1) | ((current_ >> left_) & 1);
    }
    return value;
  }
  int32_t Signed(int bits) {
    const uint32_t value = Unsigned(bits);
    if (bits > 0 && (value >> (bits - 1)) & 1) return static_cast<int32_t>(value | (~0u << bits));
    return static_cast<int32_t>(value);
  }

 private:
  Cursor& bytes_;
  uint32_t current_ = 0;
  int left_ = 0;
};

}  // namespace

SwfFile ReadSwf(const std::string& bytes) {
  SwfFile file;
  Cursor in(bytes);
  const std::string signature = in.Take(3);
  if (signature != "FWS") throw std::runtime_error("not an uncompressed SWF: " + signature);
  std::memcpy(file.signature, signature.data(), 3);
  file.version = static_cast<int>(in.U8());
  file.file_length = in.U32();
  if (file.file_length != bytes.size())
    throw std::runtime_error("length field is not the file size");
  BitCursor bits(in);
  const int n = static_cast<int>(bits.Unsigned(5));
  file.x_min = bits.Signed(n);
  file.x_max = bits.Signed(n);
  file.y_min = bits.Signed(n);
  file.y_max = bits.Signed(n);
  file.frame_rate = in.U16() / 256.0;
  file.frame_count = static_cast<int>(in.U16());
  for (;;) {
    const uint32_t head = in.U16();
    SwfTag tag;
    tag.code = static_cast<int>(head >> 6);
    uint32_t length = head & 0x3F;
    if (length == 0x3F) {
      length = in.U32();
      tag.long_form = true;
    }
    tag.body = in.Take(length);
    file.tags.push_back(tag);
    if (tag.code == 0) break;
  }
  if (!in.AtEnd()) throw std::runtime_error("bytes after the end tag");
  return file;
}

ActionListing ReadActions(const std::string& actions) {
  ActionListing listing;
  Cursor in(actions);
  std::set<int> starts;
  std::vector<std::pair<int, int>> targets;  // branch or function end -> where it came from
  size_t pool_size = 0;
  bool ended = false;
  while (!in.AtEnd()) {
    if (ended) throw std::runtime_error("records after the end record");
    ActionRecord record;
    record.offset = static_cast<int>(in.at());
    starts.insert(record.offset);
    record.code = static_cast<uint8_t>(in.U8());
    if (record.code == 0) {
      ended = true;
      listing.records.push_back(record);
      continue;
    }
    if (record.code >= 0x80) record.payload = in.Take(in.U16());
    const int next = static_cast<int>(in.at());
    Cursor payload(record.payload);
    switch (record.code) {
      case 0x88: {  // ConstantPool
        const uint32_t count = payload.U16();
        std::vector<std::string> pool;
        for (uint32_t i = 0; i < count; ++i) pool.push_back(payload.String());
        if (listing.pool.empty()) listing.pool = pool;
        pool_size = pool.size();
        break;
      }
      case 0x99:    // Jump
      case 0x9D: {  // If
        const int16_t offset = static_cast<int16_t>(payload.U16());
        targets.push_back({next + offset, record.offset});
        ++listing.branches;
        break;
      }
      case 0x8E: {  // DefineFunction2
        payload.String();
        const uint32_t parameters = payload.U16();
        payload.U8();
        payload.U16();
        for (uint32_t i = 0; i < parameters; ++i) {
          payload.U8();
          payload.String();
        }
        const uint32_t size = payload.U16();
        targets.push_back({next + static_cast<int>(size), record.offset});
        ++listing.functions;
        break;
      }
      case 0x96:  // Push
        while (!payload.AtEnd()) {
          const uint32_t type = payload.U8();
          if (type == 8 && payload.U8() >= pool_size)
            throw std::runtime_error("pool index beyond the pool");
          if (type == 9 && payload.U16() >= pool_size)
            throw std::runtime_error("pool index beyond the pool");
          if (type == 0) payload.String();
          if (type == 4 || type == 5) payload.U8();
          if (type == 6) payload.Take(8);
          if (type == 7) payload.U32();
          if (type == 1) payload.Take(4);
          if (type > 9) throw std::runtime_error("unknown push type");
        }
        break;
      default:
        break;
    }
    listing.records.push_back(record);
  }
  if (!ended) throw std::runtime_error("no end record");
  for (const auto& [target, from] : targets)
    if (!starts.count(target))
      throw std::runtime_error("branch or function at " + std::to_string(from) +
                               " ends inside a record (" + std::to_string(target) + ")");
  return listing;
}

std::vector<std::string> PushedValues(const ActionRecord& push,
                                      const std::vector<std::string>& pool) {
  std::vector<std::string> values;
  Cursor in(push.payload);
  while (!in.AtEnd()) {
    const uint32_t type = in.U8();
    switch (type) {
      case 0:
        values.push_back(in.String());
        break;
      case 2:
        values.push_back("null");
        break;
      case 3:
        values.push_back("undefined");
        break;
      case 4:
        values.push_back("r" + std::to_string(in.U8()));
        break;
      case 5:
        values.push_back(in.U8() ? "true" : "false");
        break;
      case 6: {
        const uint64_t high = in.U32();
        const uint64_t bits = (high << 32) | in.U32();
        double value;
        std::memcpy(&value, &bits, sizeof value);
        std::ostringstream text;
        text << value;
        values.push_back(text.str());
        break;
      }
      case 7:
        values.push_back(std::to_string(static_cast<int32_t>(in.U32())));
        break;
      case 8:
      case 9: {
        const uint32_t index = type == 8 ? in.U8() : in.U16();
        values.push_back(index < pool.size() ? pool[index] : "<bad pool index>");
        break;
      }
      default:
        throw std::runtime_error("unknown push type " + std::to_string(type));
    }
  }
  return values;
}

std::string Hex(const std::string& bytes) {
  std::string out;
  char buffer[4];
  for (unsigned char c : bytes) {
    std::snprintf(buffer, sizeof buffer, "%02X ", c);
    out += buffer;
  }
  return out.empty() ? out : out.substr(0, out.size() - 1);
}

}  // namespace players_test
