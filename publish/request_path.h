// The file path a request's target names, before the server looks for the file.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace publish {

// The target's path, percent-decoded exactly once, with its query ("?x=1") left off. Nothing
// for an invalid escape ("%zz", a "%" too close to the end). "+" stays a plus sign: only query
// strings spell blanks so.
std::optional<std::string> DecodeRequestPath(std::string_view target);

}  // namespace publish
