#include "publish/page_values.h"

namespace publish {

namespace {

bool IsControl(char16_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

// `text` with every character in `special` written as "%" and its two hex digits (all of
// them are ASCII, so one byte each).
QString PercentEncoded(const QString& text, QStringView special) {
  QString encoded;
  encoded.reserve(text.size());
  for (const QChar c : text) {
    if (IsControl(c.unicode())) continue;
    if (special.contains(c)) {
      encoded += '%' + QString::number(c.unicode(), 16).toUpper().rightJustified(2, '0');
    } else {
      encoded += c;
    }
  }
  return encoded;
}

}  // namespace

QString HtmlText(const QString& text) {
  QString escaped;
  escaped.reserve(text.size());
  for (const QChar c : text) {
    switch (c.unicode()) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      case '\'':
        escaped += "&#39;";
        break;
      default:
        if (!IsControl(c.unicode())) escaped += c;
    }
  }
  return escaped;
}

QString FlashVarsValue(const QString& text) {
  return PercentEncoded(text, u"%&+=#\"'<>");
}

QString RelativeUrlPath(const QString& file_name) {
  return PercentEncoded(file_name, u"%#?\\:");
}

}  // namespace publish
