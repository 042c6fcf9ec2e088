#include "outside/webtwin/twin_options.h"

#include <sys/stat.h>

namespace webtwin {
namespace {

void CheckOutput(const std::string& output, const struct stat* input) {
  struct stat info {};
  // The name itself, not where a link leads: a link is replaced by the new file.
  if (::lstat(output.c_str(), &info) != 0 || S_ISLNK(info.st_mode)) return;
  if (S_ISDIR(info.st_mode)) throw UsageError(output + " is a folder");
  if (!S_ISREG(info.st_mode)) throw UsageError(output + " is not a regular file");
  if (input && info.st_dev == input->st_dev && info.st_ino == input->st_ino)
    throw UsageError(output + " is the input itself");
}

}  // namespace

TwinOptions ParseTwinOptions(const std::vector<std::string>& args) {
  TwinOptions options;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--poster" || arg == "--mp4") {
      std::optional<std::string>& output = arg == "--poster" ? options.poster : options.mp4;
      if (output) throw UsageError(arg + " given twice");
      if (i + 1 >= args.size() || args[i + 1].empty()) throw UsageError(arg + " needs a file name");
      output = args[++i];
    } else if (arg.size() > 1 && arg[0] == '-') {
      throw UsageError("unknown option " + arg);
    } else if (!options.input.empty()) {
      throw UsageError("more than one input: " + arg);
    } else if (arg.empty()) {
      throw UsageError("the input's name is empty");
    } else {
      options.input = arg;
    }
  }
  if (options.input.empty()) throw UsageError("no input FLV");
  if (!options.poster && !options.mp4) throw UsageError("nothing to write (--poster, --mp4)");
  if (options.poster && options.mp4 && *options.poster == *options.mp4)
    throw UsageError("--poster and --mp4 name the same file");
  return options;
}

void CheckOutputs(const TwinOptions& options) {
  struct stat input {};
  const bool input_exists = ::stat(options.input.c_str(), &input) == 0;
  for (const std::optional<std::string>& output : {options.poster, options.mp4}) {
    if (output) CheckOutput(*output, input_exists ? &input : nullptr);
  }
}

}  // namespace webtwin
