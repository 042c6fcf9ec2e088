// The picture shown beside each player in the program: the player as it looks, playing a
// scene, drawn from the same skin description and bar layout as the player itself.
#pragma once

#include <QImage>
#include <QRectF>
#include <QSize>

#include "outside/players/player_skin.h"

namespace players {

// The program shows the picture stretched over a 172 by 100 control: twice that keeps its shape
// and stays sharp.
inline constexpr QSize kPictureSize{344, 200};
// How far the pictured playback has got, as a fraction of the seek bar.
inline constexpr double kPicturePlayed = 0.38;
inline constexpr double kPictureLoaded = 0.72;

// Where the picture shows the player's screen and, within it, the video.
struct PictureLayout {
  QRectF screen;
  QRectF video;
};
PictureLayout LayOutPicture(const PlayerSkin& skin, QSize size = kPictureSize);

QImage DrawSkinPicture(const PlayerSkin& skin, QSize size = kPictureSize);

}  // namespace players
