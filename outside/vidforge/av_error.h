// Failures of the encoding itself: each carries the one line the encoder prints before it
// exits with a non-zero status.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace vidforge {

class EncodeError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// FFmpeg's text for an AVERROR code.
std::string ErrorText(int av_error);

// Returns `result` when it is not an error; otherwise throws "what: reason".
int Check(int result, std::string_view what);

// A line on stderr that does not end the run, after the program's name.
void Warn(std::string_view message);

// The name warnings start with: "vidforge" unless a program sharing this code says otherwise.
void SetProgramName(std::string_view name);

}  // namespace vidforge
