#include "outside/vidforge/av_error.h"

#include <cstdio>

extern "C" {
#include <libavutil/error.h>
}

namespace vidforge {

std::string ErrorText(int av_error) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(av_error, text, sizeof text);
  return text;
}

int Check(int result, std::string_view what) {
  if (result < 0) throw EncodeError(std::string(what) + ": " + ErrorText(result));
  return result;
}

void Warn(std::string_view message) {
  std::fprintf(stderr, "vidforge: warning: %.*s\n", static_cast<int>(message.size()),
               message.data());
}

}  // namespace vidforge
