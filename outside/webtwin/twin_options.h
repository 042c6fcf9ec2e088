// webtwin's command line: the FLV, then the outputs wanted, each at most once.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace webtwin {

// A malformed command line; main() turns it into exit status 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct TwinOptions {
  std::string input;
  std::optional<std::string> poster;  // --poster: the JPEG
  std::optional<std::string> mp4;     // --mp4: the MP4 twin
};

// Parses the arguments after the program name. Throws UsageError with a one-line reason.
TwinOptions ParseTwinOptions(const std::vector<std::string>& args);

// Refuses outputs that would destroy something: an output that is the input itself, both
// outputs at one name, or a folder, FIFO or device at an output's name. A link there is fine:
// it is replaced, never written through. Throws UsageError naming the output.
void CheckOutputs(const TwinOptions& options);

}  // namespace webtwin
