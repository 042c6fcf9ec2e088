// A player's picture as the program shows it: its JPEG from the resources folder stretched over
// the whole of a picture control's client area, proportions not kept.
#pragma once

#include <QImage>
#include <QLabel>
#include <QSize>
#include <QString>

#include "publish/player_skin.h"

namespace publish {

// A 32-bit picture exactly `size`; a null image when the picture cannot be read.
QImage PlayerPicture(const QString& program_folder, const PlayerSkin& player, QSize size);

// What a screen reader calls the picture: which player it shows ("Player Preview: Steel Blue").
QString PlayerPictureName(const PlayerSkin& player);

// Shows `player`'s picture in `picture`, filling it, under that name.
void ShowPlayerPicture(QLabel* picture, const QString& program_folder, const PlayerSkin& player);

}  // namespace publish
