// Dates as HTTP writes them: "Sun, 06 Nov 1994 08:49:37 GMT", in English whatever the locale
// the program runs in.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace publish {

// `seconds` since 1970 (UTC) as an HTTP date.
std::string FormatHttpDate(int64_t seconds);

// The seconds since 1970 an HTTP date names, or nothing when `text` is no date in the form
// above. Browsers send only this form; the two obsolete ones are not read, and a date not read
// only costs the client a whole answer.
std::optional<int64_t> ParseHttpDate(std::string_view text);

}  // namespace publish
