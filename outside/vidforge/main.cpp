// vidforge: turns a video into an FLV (Sorenson Spark video, MP3 sound) for the app's player.
//
//   vidforge -i INPUT [-vstats] [-y] [-s WxH] [-r RATE] -b KBITS (-ab KBITS -ar HZ -ac 1|2 | -an)
//            OUTPUT
//
// Exit status 0 with a complete OUTPUT; 1 when encoding failed, 2 for a wrong command line;
// both with one line on stderr and no OUTPUT left behind.
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

#include "outside/vidforge/options.h"
#include "outside/vidforge/output_file.h"
#include "outside/vidforge/transcoder.h"

namespace {

constexpr const char* kUsage =
    "usage: vidforge -i INPUT [-vstats] [-y] [-s WxH] [-r RATE] -b KBITS "
    "(-ab KBITS -ar HZ -ac 1|2 | -an) OUTPUT";

}  // namespace

int main(int argc, char** argv) {
  // The libraries' own chatter would bury the one line that matters; VIDFORGE_DEBUG brings it back.
  av_log_set_level(std::getenv("VIDFORGE_DEBUG") ? AV_LOG_VERBOSE : AV_LOG_QUIET);

  // Over a file size limit, a write should fail like any other (and the run end cleanly)
  // rather than kill the process with half a file left behind.
  std::signal(SIGXFSZ, SIG_IGN);

  vidforge::EncoderOptions options;
  try {
    options = vidforge::ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
    vidforge::CheckOutputKind(options.output);
  } catch (const vidforge::UsageError& error) {
    std::fprintf(stderr, "vidforge: %s; %s\n", error.what(), kUsage);
    return 2;
  }

  try {
    vidforge::Transcode(options);
  } catch (const std::bad_alloc&) {
    std::fprintf(stderr, "vidforge: out of memory\n");
    return 1;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "vidforge: %s\n", error.what());
    return 1;
  }
  return 0;
}
