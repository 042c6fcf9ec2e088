#include "store/value_text.h"

#include <limits>

namespace store {

QString CutToLength(QString text, qsizetype max_length) {
  if (max_length <= 0) return {};
  if (text.size() <= max_length) return text;
  if (text.at(max_length - 1).isHighSurrogate() && text.at(max_length).isLowSurrogate()) {
    --max_length;
  }
  text.truncate(max_length);
  return text;
}

std::optional<int> ParseLeadingInt(QStringView text) {
  qsizetype at = 0;
  while (at < text.size() && text.at(at).isSpace()) ++at;
  bool negative = false;
  if (at < text.size() && (text.at(at) == u'+' || text.at(at) == u'-')) {
    negative = text.at(at) == u'-';
    ++at;
  }
  // Accumulate towards the sign's end so that the most negative value is reachable.
  constexpr qint64 kLimit = qint64(std::numeric_limits<int>::max()) + 1;
  qint64 magnitude = 0;
  bool any_digit = false;
  for (; at < text.size() && text.at(at) >= u'0' && text.at(at) <= u'9'; ++at) {
    any_digit = true;
    magnitude = std::min(kLimit, magnitude * 10 + (text.at(at).unicode() - u'0'));
  }
  if (!any_digit) return std::nullopt;
  if (negative) return int(-magnitude);
  return int(std::min(magnitude, kLimit - 1));
}

}  // namespace store
