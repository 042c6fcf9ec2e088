// The players (player skins) in the program's resources folder: each a ".swf" with a ".jpg"
// picture of it beside it, and an ".ini" size file for the page.
#pragma once

#include <QString>
#include <vector>

namespace publish {

struct PlayerSkin {
  QString player_file;   // the ".swf" file's name as found, without folder
  QString preview_file;  // the player file's name up to its last ".", then ".jpg"
  QString display_name;  // what the user sees
};

// The player the resources folder holds for when no valid player is chosen.
inline const char kDefaultPlayerFile[] = "player.swf";

// The name shown for a player file: the stem after its last "-", with "_" read as a space.
// "skin-Steel_Blue.swf" is "Steel Blue"; "clean.swf" is "clean".
QString PlayerDisplayName(const QString& player_file);

// The picture's name for a player file: up to its last ".", then ".jpg".
QString PlayerPreviewFile(const QString& player_file);

// Appends the players of `program_folder`/resources that have their picture beside them (the
// caller empties the list first). Players come sorted by file name without regard to case, so
// the list and its indexes are the same on every machine and file system.
void ScanPlayerSkins(std::vector<PlayerSkin>& list, const QString& program_folder);

// Whether `which_player` denotes a player of the list (-1 is none).
bool IsValidPlayerIndex(const std::vector<PlayerSkin>& list, int which_player);

// The player file to publish: the chosen one, or the default player when none valid is chosen.
QString ChosenPlayerFile(const std::vector<PlayerSkin>& list, int which_player);

// The text of the "Which Player?" label for a chosen player.
QString PlayerSelectedLabel(const QString& display_name);

}  // namespace publish
