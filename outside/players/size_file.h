// The size file beside each player, which page generation reads to size the page round the
// video.
#pragma once

#include <string>

#include "outside/players/player_skin.h"

namespace players {

// INI text with CR LF line ends.
std::string SizeFileText(const PlayerSkin& skin);
// Page generation lowers the player's path before it swaps ".swf" for ".ini", so the size
// file goes under the lower-case name.
std::string SizeFileName(const PlayerSkin& skin);

}  // namespace players
