// The command line of reelwright-batch. Every value is taken as one argument, as it came:
// nothing passes through a shell.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace batch {

// The usage text (what --help prints).
QString UsageText();

struct BatchOptions {
  enum class Mode { Help, Version, Project, Input, Serve };
  Mode mode = Mode::Help;
  QString project;  // Project: the project file
  QString input;    // Input: the video or FLV
  // Input: the fields the command line sets over what choosing the input gives.
  QString output_folder;
  std::optional<QString> output_video;
  std::optional<QString> output_html;
  std::optional<QString> preset;
  std::optional<QString> player;
  std::optional<QString> title;
  std::optional<QString> save;  // Project and Input: save the job as a project file
  QString serve_folder;         // Serve
};

// The options, or the usage error to print (exit status 2). `arguments` leaves out the
// program's own name. An option's value follows it as the next argument or after "=".
struct ParsedOptions {
  std::optional<BatchOptions> options;
  QString error;
};
ParsedOptions ParseOptions(const QStringList& arguments);

}  // namespace batch
