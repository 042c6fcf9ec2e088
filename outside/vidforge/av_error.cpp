#include "outside/vidforge/av_error.h"

#include <cstdio>

extern "C" {
#include <libavutil/error.h>
}

namespace vidforge {
namespace {

std::string program_name = "vidforge";

}  // namespace

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
  std::fprintf(stderr, "%s: warning: %.*s\n", program_name.c_str(),
               static_cast<int>(message.size()), message.data());
}

void SetProgramName(std::string_view name) {
  program_name = name;
}

}  // namespace vidforge
