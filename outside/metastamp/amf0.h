// AMF0, the value encoding of FLV script tags such as onMetaData: a reader that walks values
// without building a tree (so a damaged or huge tag costs no memory), and a writer.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace metastamp {

enum class Amf0Type : uint8_t {
  kNumber = 0,
  kBoolean = 1,
  kString = 2,
  kObject = 3,
  kMovieClip = 4,
  kNull = 5,
  kUndefined = 6,
  kReference = 7,
  kEcmaArray = 8,
  kObjectEnd = 9,
  kStrictArray = 10,
  kDate = 11,
  kLongString = 12,
  kUnsupported = 13,
  kRecordSet = 14,
  kXmlDocument = 15,
  kTypedObject = 16,
  kAvmPlus = 17,
};

// One value as read: numbers, booleans and strings with their content; objects and arrays only
// by their type (their content is skipped).
struct Amf0Value {
  Amf0Type type = Amf0Type::kNull;
  double number = 0;
  bool boolean = false;
  std::string_view text;
};

class Amf0Reader {
 public:
  explicit Amf0Reader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  // The next value, or nothing when the bytes are cut or malformed.
  std::optional<Amf0Value> Read();

  // Reads the next value, which must be an ECMA array or an object, calling `visit` with each
  // of its top-level properties. Returns false when it is cut or malformed (properties visited
  // before that point stay visited).
  using PropertyVisitor = std::function<void(std::string_view key, const Amf0Value& value)>;
  bool ReadProperties(const PropertyVisitor& visit);

 private:
  std::optional<Amf0Value> ReadValue(int depth);
  bool SkipProperties(int depth, const PropertyVisitor* visit);
  std::optional<std::string_view> ReadText(size_t length_bytes);
  bool Take(size_t count, std::span<const uint8_t>& out);

  std::span<const uint8_t> bytes_;
  size_t position_ = 0;
};

class Amf0Writer {
 public:
  void Number(double value);
  void Boolean(bool value);
  void String(std::string_view text);  // shorter than 64 KiB
  void BeginEcmaArray(uint32_t count);
  void BeginObject();
  void Key(std::string_view key);
  void EndProperties();  // closes an ECMA array or an object
  void BeginStrictArray(uint32_t count);
  void Append(std::span<const uint8_t> encoded);  // values written by another writer

  const std::vector<uint8_t>& bytes() const { return bytes_; }

 private:
  void Byte(uint8_t value) { bytes_.push_back(value); }
  void U16(uint32_t value);
  void U32(uint32_t value);

  std::vector<uint8_t> bytes_;
};

}  // namespace metastamp
