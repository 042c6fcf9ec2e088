#include "publish/request_path.h"

namespace publish {

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::optional<std::string> DecodeRequestPath(std::string_view target) {
  const std::string_view path = target.substr(0, target.find('?'));
  std::string decoded;
  decoded.reserve(path.size());
  for (size_t i = 0; i < path.size(); ++i) {
    if (path[i] != '%') {
      decoded += path[i];
      continue;
    }
    if (i + 2 >= path.size()) return std::nullopt;
    const int high = HexValue(path[i + 1]);
    const int low = HexValue(path[i + 2]);
    if (high < 0 || low < 0) return std::nullopt;
    decoded += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return decoded;
}

}  // namespace publish
