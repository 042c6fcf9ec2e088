// webtwin: the poster picture and the MP4 twin of an FLV, for the published page's visitors
// whose browser cannot run the Flash runtime.
//
//   webtwin INPUT.flv [--poster OUTPUT.jpg] [--mp4 OUTPUT.mp4]
//
// Exit status 0 when every output asked for was written; 1 when one could not be (the poster
// is still written when only the MP4 failed), 2 for a wrong command line; both with one line on
// stderr. An output is only ever given its name once complete.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <new>
#include <string>
#include <vector>

extern "C" {
#include <libavutil/log.h>
}

#include "outside/vidforge/av_error.h"
#include "outside/webtwin/twin_options.h"
#include "outside/webtwin/web_twin.h"

namespace {

constexpr const char* kUsage = "usage: webtwin INPUT.flv [--poster OUTPUT.jpg] [--mp4 OUTPUT.mp4]";

}  // namespace

int main(int argc, char** argv) {
  // The libraries' own chatter would bury the one line that matters; WEBTWIN_DEBUG brings it back.
  av_log_set_level(std::getenv("WEBTWIN_DEBUG") ? AV_LOG_VERBOSE : AV_LOG_QUIET);
  vidforge::SetProgramName("webtwin");
  // Over a file size limit, a write should fail like any other rather than kill the process.
  std::signal(SIGXFSZ, SIG_IGN);

  webtwin::TwinOptions options;
  try {
    options = webtwin::ParseTwinOptions(std::vector<std::string>(argv + 1, argv + argc));
    webtwin::CheckOutputs(options);
  } catch (const webtwin::UsageError& error) {
    std::fprintf(stderr, "webtwin: %s; %s\n", error.what(), kUsage);
    return 2;
  }

  try {
    webtwin::MakeWebTwin(options);
  } catch (const std::bad_alloc&) {
    std::fprintf(stderr, "webtwin: out of memory\n");
    return 1;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "webtwin: %s\n", error.what());
    return 1;
  }
  return 0;
}
