#include "publish/player_picture.h"

#include <QDir>

namespace publish {

QImage PlayerPicture(const QString& program_folder, const PlayerSkin& player, QSize size) {
  const QImage picture(QDir(program_folder).filePath("resources/" + player.preview_file));
  if (picture.isNull() || size.isEmpty()) return {};
  // A plain copy of the pixels, stretched: no smoothing.
  return picture.convertToFormat(QImage::Format_RGB32)
      .scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

QString PlayerPictureName(const PlayerSkin& player) {
  return QStringLiteral("Player Preview: %1").arg(player.display_name);
}

void ShowPlayerPicture(QLabel* picture, const QString& program_folder, const PlayerSkin& player) {
  picture->setAccessibleName(PlayerPictureName(player));
  picture->setPixmap(
      QPixmap::fromImage(PlayerPicture(program_folder, player, picture->contentsRect().size())));
}

}  // namespace publish
