#include "publish/byte_range.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <optional>

namespace publish {

namespace {

// Digits as a number; one too large for 64 bits is the largest, which lies past any file.
std::optional<uint64_t> Number(std::string_view digits) {
  if (digits.empty()) return std::nullopt;
  uint64_t value = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    const uint64_t digit = static_cast<uint64_t>(c - '0');
    if (value > (std::numeric_limits<uint64_t>::max() - digit) / 10)
      value = std::numeric_limits<uint64_t>::max();
    else
      value = value * 10 + digit;
  }
  return value;
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

}  // namespace

ByteRange ParseByteRange(std::string_view header, uint64_t size) {
  const ByteRange whole;
  const size_t equals = header.find('=');
  if (equals == std::string_view::npos) return whole;
  const std::string_view unit = TrimBlanks(header.substr(0, equals));
  if (unit.size() != 5 || !std::equal(unit.begin(), unit.end(), "bytes", [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == b;
      }))
    return whole;
  const std::string_view ranges = TrimBlanks(header.substr(equals + 1));
  const size_t dash = ranges.find('-');
  if (dash == std::string_view::npos || ranges.find(',') != std::string_view::npos) return whole;
  const std::optional<uint64_t> first = Number(ranges.substr(0, dash));
  const std::optional<uint64_t> last = Number(ranges.substr(dash + 1));

  ByteRange range;
  range.kind = ByteRange::kPart;
  if (!first) {  // the last N bytes
    if (!last || dash != 0) return whole;
    if (*last == 0 || size == 0) return {ByteRange::kUnsatisfiable};
    range.first = size - std::min(*last, size);
    range.last = size - 1;
    return range;
  }
  if (last && *last < *first) return whole;
  if (!last && dash + 1 != ranges.size()) return whole;
  if (*first >= size) return {ByteRange::kUnsatisfiable};
  range.first = *first;
  range.last = last ? std::min(*last, size - 1) : size - 1;
  return range;
}

}  // namespace publish
