// metastamp: the FLV metadata tool that ships beside Reelwright.
//   metastamp FILE.flv      gives the file a new onMetaData (duration, size, key frames...)
//   metastamp FILE.flv /x   writes the frame size into FILE.xml beside it
// Failures print one line on stderr and end with a non-zero status; the FLV is left as it was.
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "outside/metastamp/size_report.h"
#include "outside/metastamp/stamp_metadata.h"

namespace {

constexpr int kFailed = 1;
constexpr int kUsage = 2;

// Exactly what the app passes: "/X" or "-x" are mistakes, and are told so.
bool IsReportOption(const char* argument) {
  return std::strcmp(argument, "/x") == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3 || (argc == 3 && !IsReportOption(argv[2])) || argv[1][0] == '\0') {
    std::fprintf(stderr, "usage: metastamp FILE.flv [/x]\n");
    return kUsage;
  }
  // A file size limit then fails a write, which is reported, instead of killing the program.
  std::signal(SIGXFSZ, SIG_IGN);
  const std::string path = argv[1];
  try {
    if (argc == 3) {
      metastamp::WriteSizeReport(path);
    } else {
      metastamp::StampMetadata(path);
    }
  } catch (const std::exception& error) {  // metastamp::Error, or out of memory
    std::fprintf(stderr, "metastamp: %s: %s\n", path.c_str(), error.what());
    return kFailed;
  }
  return 0;
}
