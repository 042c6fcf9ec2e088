#include "publish/web_twin.h"

#include <QStringList>
#include <algorithm>

#include "encode/encoder_contract.h"
#include "platform/process_runner.h"

namespace publish {

QString TwinName(const QString& video_name, const QString& extension) {
  const qsizetype part = std::max(video_name.lastIndexOf('/'), video_name.lastIndexOf('\\')) + 1;
  const qsizetype dot = video_name.lastIndexOf('.');
  const QString stem = dot > part ? video_name.left(dot) : video_name;
  return stem + "." + extension;
}

void RunWebTwin(const QString& program_folder, const QString& flv_path, const QString& poster_path,
                const QString& mp4_path) {
  QStringList arguments = {flv_path};
  if (!poster_path.isEmpty()) arguments << "--poster" << poster_path;
  if (!mp4_path.isEmpty()) arguments << "--mp4" << mp4_path;
  const QString program =
      encode::JoinPath(encode::JoinPath(program_folder, "resources"), "webtwin");
  platform::RunHiddenAndWait(program, arguments, program_folder);
}

}  // namespace publish
