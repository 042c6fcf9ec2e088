#include "encode/encoder_command_line.h"

#include <QDir>
#include <array>

#include "encode/encoder_contract.h"
#include "encode/encoding_lists.h"

namespace encode {

namespace {

const char kFolderMissing[] = "Specified output folder does not exist!";
const char kNoInput[] = "Please choose a video file first!";

// The frame size passed for each row of the frame-size list; row 0 ("Original") passes none.
// The table, not the row's text, decides.
constexpr std::array<const char*, 11> kFrameSizes = {
    nullptr,   "160x120", "240x180", "320x240", "400x300", "480x360",
    "512x384", "640x480", "720x576", "768x576", "800x600",
};

const char* FrameSizeForRow(int row) {
  if (row < 0 || row >= static_cast<int>(kFrameSizes.size())) return nullptr;
  return kFrameSizes[row];
}

QString Quoted(const QString& path) {
  return '"' + path + '"';
}

// Every piece between the input and the output, each followed by one blank.
QString EncodingOptions(const EncoderJob& job) {
  QString options = "-vstats -y ";
  if (const char* size = FrameSizeForRow(job.resolution_row))
    options += QString("-s %1 ").arg(size);
  if (job.frame_rate_row >= 1) options += "-r " + job.frame_rate + ' ';
  options += "-b " + job.video_bitrate + ' ';
  if (job.enabled_audio) {
    options += "-ab " + job.audio_bitrate + ' ';
    options += "-ar " + QString(job.sampling_rate).remove(',') + ' ';
    options += job.mono ? "-ac 1 " : "-ac 2 ";
  } else {
    options += "-an ";
  }
  return options;
}

bool IsSeparator(QChar c) {
  return c == '/' || c == '\\';
}

// Whether the text names the root folder on a platform with a single root. Browse writes "/"
// for a file chosen there; a run of separators stays a missing folder.
bool NamesRoot(const QString& trimmed_folder) {
#ifdef Q_OS_WIN
  Q_UNUSED(trimmed_folder);
  return false;
#else
  return trimmed_folder == "/";
#endif
}

bool CanList(const QString& folder) {
  // Lists "." and ".." too: an existing, readable folder is never empty.
  return !QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System).isEmpty();
}

}  // namespace

bool OutputFolderExists(const QString& folder_text, QString* normalised) {
  QString folder = folder_text.trimmed();
  const bool root = NamesRoot(folder);
  while (!folder.isEmpty() && IsSeparator(folder.back())) folder.chop(1);
  if (normalised) *normalised = folder;
  if (root) return CanList(QDir::rootPath());
  return !folder.isEmpty() && CanList(folder);
}

QString CompleteFlvName(const QString& output_video) {
  if (output_video.toLower().contains(".flv")) return output_video;
  return output_video + ".flv";
}

EncoderRun PrepareEncoderRun(const EncoderJob& job) {
  EncoderRun run;
  QString folder;
  if (!OutputFolderExists(job.output_folder, &folder)) {
    run.stop_message = kFolderMissing;
    return run;
  }
  const QString input =
      job.converted_path.isEmpty() ? job.input_video.trimmed() : job.converted_path;
  if (input.isEmpty()) {
    run.stop_message = kNoInput;
    return run;
  }
  run.run_input_path = input;
  run.output_video = CompleteFlvName(job.output_video);
  run.output_flv_path = JoinPath(folder, run.output_video);
  run.arguments = "-i " + Quoted(input) + ' ' + EncodingOptions(job) + Quoted(run.output_flv_path);
  DeleteProgressFile(job.working_folder);
  return run;
}

QStringList SplitEncoderArguments(const QString& arguments, const QString& input_path) {
  // -i "INPUT" OPTIONS... "OUTPUT": the options hold no quote, so the first quote after the
  // input opens the output, which runs to the final quote.
  const QString head = "-i " + Quoted(input_path) + ' ';
  if (!arguments.startsWith(head) || !arguments.endsWith('"')) return {};
  const qsizetype output_open = arguments.indexOf('"', head.size());
  if (output_open < 0 || output_open == arguments.size() - 1) return {};
  // Each option piece ends with one blank; the last blank only separates it from the output.
  const QString options = arguments.mid(head.size(), output_open - head.size());
  if (!options.endsWith(' ')) return {};

  QStringList split = {"-i", input_path};
  split += options.chopped(1).split(' ');
  split += arguments.mid(output_open + 1, arguments.size() - output_open - 2);
  return split;
}

EncoderJob EncoderJobFor(const store::ProjectSnapshot& job) {
  EncoderJob run;
  run.output_folder = job.output_folder;
  run.input_video = job.input_video;
  run.output_video = job.output_video;
  run.resolution_row = job.resolution;
  run.frame_rate_row = job.frame_rate;
  run.frame_rate = RowText(FrameRateRows(), job.frame_rate);
  run.video_bitrate = RowText(VideoBitrateRows(), job.video_bitrate);
  run.enabled_audio = job.enabled_audio;
  run.audio_bitrate = RowText(AudioBitrateRows(), job.audio_bitrate);
  run.sampling_rate = RowText(SamplingRateRows(), job.sampling_rate);
  run.mono = job.mono;
  return run;
}

}  // namespace encode
