// The one kind of failure metastamp reports: a reason that main() prints as one line on stderr.
#pragma once

#include <stdexcept>
#include <string>

namespace metastamp {

class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& reason) : std::runtime_error(reason) {}
};

// The file ends before a tag it announces: a reader that wants only the start may stop here.
class TruncatedError : public Error {
 public:
  using Error::Error;
};

// The text of errno, for reasons such as "cannot read: Input/output error".
std::string ErrnoText(int error_number);

}  // namespace metastamp
