// The picture shown beside each player in the program: the player as it looks, playing a
// scene, drawn from the same skin description and bar layout as the player itself.
#pragma once

#include <QImage>
#include <QSize>

#include "outside/players/player_skin.h"

namespace players {

inline constexpr QSize kPictureSize{320, 240};
// How far the pictured playback has got, as a fraction of the seek bar.
inline constexpr double kPicturePlayed = 0.38;
inline constexpr double kPictureLoaded = 0.72;

QImage DrawSkinPicture(const PlayerSkin& skin, QSize size = kPictureSize);

}  // namespace players
