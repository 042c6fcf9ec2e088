#include "publish/http_date.h"

#include <time.h>

#include <cstdio>

namespace publish {

namespace {

constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// The number `text` spells with exactly its digits, or -1.
int Digits(std::string_view text) {
  int value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return -1;
    value = value * 10 + (c - '0');
  }
  return value;
}

}  // namespace

std::string FormatHttpDate(int64_t seconds) {
  const time_t t = static_cast<time_t>(seconds);
  struct tm utc {};
  if (::gmtime_r(&t, &utc) == nullptr) return {};
  char text[40];
  std::snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d GMT", kDays[utc.tm_wday],
                utc.tm_mday, kMonths[utc.tm_mon], utc.tm_year + 1900, utc.tm_hour, utc.tm_min,
                utc.tm_sec);
  return text;
}

std::optional<int64_t> ParseHttpDate(std::string_view text) {
  // "Sun, 06 Nov 1994 08:49:37 GMT": every field at its place.
  if (text.size() != 29 || text.substr(3, 2) != ", " || text[7] != ' ' || text[11] != ' ' ||
      text[16] != ' ' || text[19] != ':' || text[22] != ':' || text.substr(25) != " GMT")
    return std::nullopt;
  int month = -1;
  for (int i = 0; i < 12; ++i)
    if (text.substr(8, 3) == kMonths[i]) month = i;
  struct tm utc {};
  utc.tm_mday = Digits(text.substr(5, 2));
  utc.tm_year = Digits(text.substr(12, 4)) - 1900;
  utc.tm_hour = Digits(text.substr(17, 2));
  utc.tm_min = Digits(text.substr(20, 2));
  utc.tm_sec = Digits(text.substr(23, 2));
  utc.tm_mon = month;
  if (month < 0 || utc.tm_mday < 1 || utc.tm_mday > 31 || utc.tm_year < 70 || utc.tm_hour < 0 ||
      utc.tm_hour > 23 || utc.tm_min < 0 || utc.tm_min > 59 || utc.tm_sec < 0 || utc.tm_sec > 60)
    return std::nullopt;
  return static_cast<int64_t>(::timegm(&utc));
}

}  // namespace publish
