#include "batch/batch_options.h"

#include <utility>

namespace batch {

namespace {

// The options that take a value, and the field each fills.
struct ValueOption {
  const char* name;
  std::optional<QString> BatchOptions::*field;
};

const ValueOption kInputOptions[] = {
    {"--output-video", &BatchOptions::output_video},
    {"--output-html", &BatchOptions::output_html},
    {"--preset", &BatchOptions::preset},
    {"--player", &BatchOptions::player},
    {"--title", &BatchOptions::title},
};

ParsedOptions Error(const QString& text) {
  return {std::nullopt, text};
}

}  // namespace

QString UsageText() {
  return QStringLiteral(
      "Usage: reelwright-batch JOB.reel [--save JOB.reel]\n"
      "       reelwright-batch --input VIDEO --output-folder DIR [--output-video NAME]\n"
      "                        [--output-html NAME] [--preset NAME] [--player NAME]\n"
      "                        [--title TEXT] [--save JOB.reel]\n"
      "       reelwright-batch --serve DIR\n"
      "       reelwright-batch --help | --version\n"
      "\n"
      "Runs a whole job without a window, as Start Encoding and Produce Web Page do: encodes\n"
      "the video into an FLV (an existing FLV is only published), then writes the web page,\n"
      "the player and the video into the output folder.\n"
      "\n"
      "  JOB.reel              a project file saved by Reelwright\n"
      "  --input VIDEO         a video to encode, or an .flv file to publish as it is; the job\n"
      "                        is made as the Browse buttons make it\n"
      "  --output-folder DIR   where the FLV and the page go (must exist)\n"
      "  --output-video NAME   the FLV's name (default: the input's name with .flv)\n"
      "  --output-html NAME    the page's name (default: index.html)\n"
      "  --preset NAME         an encoding preset saved in the window (default: the first)\n"
      "  --player NAME         a player by its name or file name (default: player.swf)\n"
      "  --title TEXT          the page's title\n"
      "  --save JOB.reel       also save the job as a project file\n"
      "  --serve DIR           serve DIR on 127.0.0.1 to preview its page, until interrupted\n"
      "\n"
      "Messages go to standard error, one line each, starting \"reelwright: \"; a question is\n"
      "answered No and a video the encoder cannot read is converted first. On success the\n"
      "page's path and its folder are printed on standard output.\n"
      "Exit status: 0 the page was written, 1 the job failed, 2 usage error; interrupted\n"
      "(Ctrl+C, SIGHUP, SIGTERM): the encoder is stopped, then 128 + the signal's number.\n");
}

ParsedOptions ParseOptions(const QStringList& arguments) {
  BatchOptions options;
  bool help = false, version = false, options_ended = false;
  std::optional<QString> input, output_folder, serve;
  QStringList positional;
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    QString argument = arguments[i];
    if (options_ended || !argument.startsWith("--") || argument == "--") {
      if (argument == "--" && !options_ended) {
        options_ended = true;
        continue;
      }
      if (!options_ended && argument.startsWith('-') && argument != "-") {
        if (argument == "-h") {
          help = true;
          continue;
        }
        return Error("unknown option " + argument);
      }
      positional << argument;
      continue;
    }
    if (argument == "--help") {
      help = true;
      continue;
    }
    if (argument == "--version") {
      version = true;
      continue;
    }
    // "--name=value" or "--name value".
    std::optional<QString> inline_value;
    if (const qsizetype equals = argument.indexOf('='); equals > 0) {
      inline_value = argument.mid(equals + 1);
      argument.truncate(equals);
    }
    auto take_value = [&]() -> std::optional<QString> {
      if (inline_value) return std::exchange(inline_value, std::nullopt);
      if (i + 1 >= arguments.size()) return std::nullopt;
      return arguments[++i];
    };
    std::optional<QString>* target = nullptr;
    if (argument == "--input") target = &input;
    if (argument == "--output-folder") target = &output_folder;
    if (argument == "--serve") target = &serve;
    if (argument == "--save") target = &options.save;
    for (const ValueOption& option : kInputOptions)
      if (argument == option.name) target = &(options.*option.field);
    if (!target) return Error("unknown option " + argument);
    if (*target) return Error(argument + " is given twice");
    *target = take_value();
    if (!*target) return Error(argument + " needs a value");
  }

  if (help) {
    options.mode = BatchOptions::Mode::Help;
    return {options, {}};
  }
  if (version) {
    options.mode = BatchOptions::Mode::Version;
    return {options, {}};
  }
  const bool input_options = input || output_folder || options.output_video ||
                             options.output_html || options.preset || options.player ||
                             options.title;
  if (serve) {
    if (input_options || options.save || !positional.isEmpty())
      return Error("--serve takes no other options");
    options.mode = BatchOptions::Mode::Serve;
    options.serve_folder = *serve;
    return {options, {}};
  }
  if (positional.size() > 1) return Error("only one project file can be given");
  if (positional.size() == 1) {
    if (input_options) return Error("a project file takes no --input options, only --save");
    options.mode = BatchOptions::Mode::Project;
    options.project = positional.front();
    return {options, {}};
  }
  if (!input) return Error(input_options ? "--input is missing" : "no job given");
  if (!output_folder) return Error("--output-folder is missing");
  options.mode = BatchOptions::Mode::Input;
  options.input = *input;
  options.output_folder = *output_folder;
  return {options, {}};
}

}  // namespace batch
