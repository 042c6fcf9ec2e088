#include "publish/player_skin.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace publish {

QString PlayerDisplayName(const QString& player_file) {
  QString name = player_file;
  const qsizetype dot = name.lastIndexOf('.');
  if (dot >= 0) name.truncate(dot);
  const qsizetype dash = name.lastIndexOf('-');
  if (dash >= 0) name.remove(0, dash + 1);
  name.replace('_', ' ');
  return name;
}

QString PlayerPreviewFile(const QString& player_file) {
  const qsizetype dot = player_file.lastIndexOf('.');
  return (dot >= 0 ? player_file.left(dot) : player_file) + ".jpg";
}

void ScanPlayerSkins(std::vector<PlayerSkin>& list, const QString& program_folder) {
  const QDir resources(QDir(program_folder).filePath("resources"));
  // Name filters match without case, as the original platform's file search does.
  QStringList names = resources.entryList({"*.swf"}, QDir::Files | QDir::Hidden, QDir::NoSort);
  std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
    const int folded = QString::compare(a, b, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a < b;
  });
  for (const QString& name : names) {
    const QString preview = PlayerPreviewFile(name);
    if (!QFileInfo(resources.filePath(preview)).isFile()) continue;  // no picture, not listed
    list.push_back({name, preview, PlayerDisplayName(name)});
  }
}

bool IsValidPlayerIndex(const std::vector<PlayerSkin>& list, int which_player) {
  return which_player >= 0 && static_cast<size_t>(which_player) < list.size();
}

QString ChosenPlayerFile(const std::vector<PlayerSkin>& list, int which_player) {
  if (!IsValidPlayerIndex(list, which_player)) return kDefaultPlayerFile;
  return list[static_cast<size_t>(which_player)].player_file;
}

QString PlayerSelectedLabel(const QString& display_name) {
  return display_name + " selected";
}

}  // namespace publish
