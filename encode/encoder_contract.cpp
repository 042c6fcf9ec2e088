#include "encode/encoder_contract.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "encode/encoder_command_line.h"

namespace encode {

QString JoinPath(const QString& folder, const QString& name) {
  return folder + QDir::separator() + name;
}

QString EncoderProgramPath(const QString& program_folder) {
  return JoinPath(JoinPath(program_folder, "resources"), "vidforge");
}

QString ProgressFilePath(const QString& working_folder) {
  return JoinPath(working_folder, "stat");
}

void DeleteProgressFile(const QString& working_folder) {
  QFile::remove(ProgressFilePath(working_folder));
}

std::optional<int> ReadProgressPercent(const QString& working_folder) {
  const QFileInfo progress(ProgressFilePath(working_folder));
  if (!progress.exists()) return std::nullopt;
  return static_cast<int>(std::clamp<qint64>(progress.size(), 0, 100));
}

bool EncoderOutputReady(const QString& flv_path) {
  const QFileInfo flv(flv_path);
  return flv.isFile() && flv.size() != 0;
}

std::unique_ptr<platform::RunningProcess> StartEncoder(const QString& program_folder,
                                                       const QString& working_folder,
                                                       const EncoderRun& run) {
  return platform::StartHidden(EncoderProgramPath(program_folder),
                               SplitEncoderArguments(run.arguments, run.run_input_path),
                               working_folder);
}

}  // namespace encode
