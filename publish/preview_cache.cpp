#include "publish/preview_cache.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <cstdio>

#include "publish/http_date.h"

namespace publish {

namespace {

std::string Stamp(const PreviewFile& file) {
  char text[64];
  std::snprintf(text, sizeof text, "%llx-%llx-%llx", static_cast<unsigned long long>(file.inode),
                static_cast<unsigned long long>(file.size),
                static_cast<unsigned long long>(file.modified_ns));
  return text;
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

}  // namespace

std::string PreviewEntityTag(const PreviewFile& file, ContentCoding coding,
                             const PreviewFile* copy) {
  std::string tag = "\"" + Stamp(file);
  if (coding != ContentCoding::kIdentity) tag += std::string("-") + ContentCodingName(coding);
  if (copy != nullptr) tag += "-" + Stamp(*copy);
  return tag + "\"";
}

bool MatchesEntityTag(std::string_view if_none_match, std::string_view tag) {
  if (TrimBlanks(if_none_match) == "*") return true;
  // Tags are quoted and may hold commas; read them quote to quote.
  while (!if_none_match.empty()) {
    if_none_match = TrimBlanks(if_none_match);
    if (if_none_match.substr(0, 2) == "W/") if_none_match.remove_prefix(2);
    if (if_none_match.empty() || if_none_match.front() != '"') return false;
    const size_t close = if_none_match.find('"', 1);
    if (close == std::string_view::npos) return false;
    if (if_none_match.substr(0, close + 1) == tag) return true;
    if_none_match.remove_prefix(close + 1);
    if_none_match = TrimBlanks(if_none_match);
    if (!if_none_match.empty() && if_none_match.front() != ',') return false;
    if (!if_none_match.empty()) if_none_match.remove_prefix(1);
  }
  return false;
}

bool UnmodifiedSince(std::string_view if_modified_since, int64_t modified) {
  const std::optional<int64_t> since = ParseHttpDate(TrimBlanks(if_modified_since));
  return since && modified <= *since;
}

const char* PreviewCacheControl(const QString& file_name) {
  static const QRegularExpression kHashed(
      QStringLiteral("^(core\\.ruffle\\.[0-9a-f]{16,}\\.js|[0-9a-f]{16,}\\.wasm)$"));
  if (kHashed.match(QFileInfo(file_name).fileName()).hasMatch())
    return "public, max-age=31536000, immutable";
  return "no-cache";
}

}  // namespace publish
