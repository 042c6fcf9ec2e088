#include "outside/metastamp/amf0.h"

#include <bit>
#include <cstring>

#include "outside/metastamp/flv_format.h"

namespace metastamp {

namespace {
constexpr int kMaxDepth = 64;
constexpr uint8_t kObjectEndMarker = static_cast<uint8_t>(Amf0Type::kObjectEnd);
}  // namespace

bool Amf0Reader::Take(size_t count, std::span<const uint8_t>& out) {
  if (count > bytes_.size() - position_) return false;
  out = bytes_.subspan(position_, count);
  position_ += count;
  return true;
}

std::optional<std::string_view> Amf0Reader::ReadText(size_t length_bytes) {
  std::span<const uint8_t> field;
  if (!Take(length_bytes, field)) return std::nullopt;
  const size_t length = length_bytes == 2 ? ReadU16(field) : ReadU32(field);
  std::span<const uint8_t> text;
  if (!Take(length, text)) return std::nullopt;
  return std::string_view(reinterpret_cast<const char*>(text.data()), text.size());
}

std::optional<Amf0Value> Amf0Reader::Read() {
  return ReadValue(0);
}

bool Amf0Reader::ReadProperties(const PropertyVisitor& visit) {
  std::span<const uint8_t> marker;
  if (!Take(1, marker)) return false;
  const auto type = static_cast<Amf0Type>(marker[0]);
  if (type == Amf0Type::kEcmaArray) {
    std::span<const uint8_t> count;  // a hint only: the end marker ends the array
    if (!Take(4, count)) return false;
  } else if (type != Amf0Type::kObject) {
    return false;
  }
  return SkipProperties(1, &visit);
}

// Properties until the empty key and the end marker; each value is read, nested ones skipped.
bool Amf0Reader::SkipProperties(int depth, const PropertyVisitor* visit) {
  while (true) {
    const auto key = ReadText(2);
    if (!key) return false;
    if (key->empty() && position_ < bytes_.size() && bytes_[position_] == kObjectEndMarker) {
      ++position_;
      return true;
    }
    const auto value = ReadValue(depth);
    if (!value) return false;
    if (visit) (*visit)(*key, *value);
  }
}

std::optional<Amf0Value> Amf0Reader::ReadValue(int depth) {
  if (depth > kMaxDepth) return std::nullopt;
  std::span<const uint8_t> field;
  if (!Take(1, field)) return std::nullopt;
  Amf0Value value;
  value.type = static_cast<Amf0Type>(field[0]);
  switch (value.type) {
    case Amf0Type::kNumber: {
      if (!Take(8, field)) return std::nullopt;
      uint64_t raw = 0;
      for (const uint8_t byte : field) raw = (raw << 8) | byte;
      value.number = std::bit_cast<double>(raw);
      return value;
    }
    case Amf0Type::kBoolean:
      if (!Take(1, field)) return std::nullopt;
      value.boolean = field[0] != 0;
      return value;
    case Amf0Type::kString:
    case Amf0Type::kLongString:
    case Amf0Type::kXmlDocument: {
      const auto text = ReadText(value.type == Amf0Type::kString ? 2 : 4);
      if (!text) return std::nullopt;
      value.text = *text;
      return value;
    }
    case Amf0Type::kNull:
    case Amf0Type::kUndefined:
    case Amf0Type::kUnsupported:
      return value;
    case Amf0Type::kReference:
      if (!Take(2, field)) return std::nullopt;
      return value;
    case Amf0Type::kDate:
      if (!Take(10, field)) return std::nullopt;  // milliseconds and a time zone
      return value;
    case Amf0Type::kTypedObject:
      if (!ReadText(2)) return std::nullopt;  // the class name
      [[fallthrough]];
    case Amf0Type::kObject:
      if (!SkipProperties(depth + 1, nullptr)) return std::nullopt;
      return value;
    case Amf0Type::kEcmaArray:
      if (!Take(4, field) || !SkipProperties(depth + 1, nullptr)) return std::nullopt;
      return value;
    case Amf0Type::kStrictArray: {
      if (!Take(4, field)) return std::nullopt;
      const uint32_t count = ReadU32(field);
      // Every value takes at least one byte, so a count beyond the bytes left is a lie.
      if (count > bytes_.size() - position_) return std::nullopt;
      for (uint32_t i = 0; i < count; ++i) {
        if (!ReadValue(depth + 1)) return std::nullopt;
      }
      return value;
    }
    default:  // the reserved movie clip and record set, AMF3 values, unknown markers
      return std::nullopt;
  }
}

void Amf0Writer::U16(uint32_t value) {
  Byte(static_cast<uint8_t>(value >> 8));
  Byte(static_cast<uint8_t>(value));
}

void Amf0Writer::U32(uint32_t value) {
  U16(value >> 16);
  U16(value & 0xFFFF);
}

void Amf0Writer::Number(double value) {
  Byte(static_cast<uint8_t>(Amf0Type::kNumber));
  const auto raw = std::bit_cast<uint64_t>(value);
  for (int shift = 56; shift >= 0; shift -= 8) Byte(static_cast<uint8_t>(raw >> shift));
}

void Amf0Writer::Boolean(bool value) {
  Byte(static_cast<uint8_t>(Amf0Type::kBoolean));
  Byte(value ? 1 : 0);
}

void Amf0Writer::String(std::string_view text) {
  Byte(static_cast<uint8_t>(Amf0Type::kString));
  Key(text);
}

void Amf0Writer::Key(std::string_view key) {
  U16(static_cast<uint32_t>(key.size()));
  bytes_.insert(bytes_.end(), key.begin(), key.end());
}

void Amf0Writer::BeginEcmaArray(uint32_t count) {
  Byte(static_cast<uint8_t>(Amf0Type::kEcmaArray));
  U32(count);
}

void Amf0Writer::BeginObject() {
  Byte(static_cast<uint8_t>(Amf0Type::kObject));
}

void Amf0Writer::EndProperties() {
  U16(0);
  Byte(kObjectEndMarker);
}

void Amf0Writer::BeginStrictArray(uint32_t count) {
  Byte(static_cast<uint8_t>(Amf0Type::kStrictArray));
  U32(count);
}

void Amf0Writer::Append(std::span<const uint8_t> encoded) {
  bytes_.insert(bytes_.end(), encoded.begin(), encoded.end());
}

}  // namespace metastamp
