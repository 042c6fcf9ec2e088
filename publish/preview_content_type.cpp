#include "publish/preview_content_type.h"

#include <QFileInfo>

namespace publish {

const char* PreviewContentType(const QString& file_name) {
  // What a published page loads, and what a user may keep beside it. The browser is told not
  // to guess otherwise (nosniff), so each type must be right.
  static const struct {
    const char* suffix;
    const char* type;
  } kTypes[] = {
      {"html", "text/html"},        {"htm", "text/html"},
      {"js", "text/javascript"},    {"mjs", "text/javascript"},
      {"wasm", "application/wasm"}, {"swf", "application/x-shockwave-flash"},
      {"flv", "video/x-flv"},       {"mp4", "video/mp4"},
      {"webm", "video/webm"},       {"jpg", "image/jpeg"},
      {"jpeg", "image/jpeg"},       {"png", "image/png"},
      {"gif", "image/gif"},         {"svg", "image/svg+xml"},
      {"css", "text/css"},          {"json", "application/json"},
      {"xml", "application/xml"},   {"txt", "text/plain"},
  };
  const QString suffix = QFileInfo(file_name).suffix().toLower();
  for (const auto& [known, type] : kTypes)
    if (suffix == QLatin1String(known)) return type;
  return "application/octet-stream";
}

}  // namespace publish
