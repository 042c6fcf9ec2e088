// The player: one AVM1 program (SWF 8) that every skin shares. It reads the page's FlashVars,
// plays the FLV with NetStream, and draws its chrome, control bar, big play button, message and
// information box with the drawing API, so it fits any page size.
#pragma once

#include <string>

#include "outside/players/player_skin.h"

namespace players {

// The name and version shown in the information box.
inline constexpr const char* kPlayerName = "Reelwright Player";
inline constexpr const char* kPlayerVersion = "1.04";

// The whole .swf file of the player in `skin`.
std::string BuildPlayer(const PlayerSkin& skin);

}  // namespace players
