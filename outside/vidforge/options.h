// The encoder's command line: what the app passes, checked strictly so that a wrong call
// fails loudly instead of encoding something the user did not ask for.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace vidforge {

// A malformed command line; main() turns it into exit status 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct FrameSize {
  int width = 0;
  int height = 0;
};

// A frame rate given as a decimal ("7.5"), kept exact as a fraction.
struct FrameRate {
  int num = 0;
  int den = 1;
};

struct AudioSettings {
  int bit_rate_kbits = 0;
  int sample_rate = 0;
  int channels = 0;
};

struct EncoderOptions {
  std::string input;
  std::string output;
  bool write_progress = false;         // -vstats: keep the "stat" file up to date
  bool overwrite = false;              // -y
  std::optional<FrameSize> size;       // -s; the source size when absent
  std::optional<FrameRate> rate;       // -r; the source rate when absent
  int video_bit_rate_kbits = 0;        // -b
  std::optional<AudioSettings> audio;  // absent with -an
};

// Parses the arguments after the program name. Throws UsageError with a one-line reason.
EncoderOptions ParseOptions(const std::vector<std::string>& args);

}  // namespace vidforge
