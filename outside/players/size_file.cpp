#include "outside/players/size_file.h"

#include <algorithm>
#include <cctype>

namespace players {

std::string SizeFileText(const PlayerSkin& skin) {
  return "[Minimal Dimensions]\r\nWidth=" + std::to_string(MinimalWidth(skin)) +
         "\r\nHeight=" + std::to_string(MinimalHeight(skin)) +
         "\r\n\r\n[Increments]\r\nWidth=" + std::to_string(IncrementWidth(skin)) +
         "\r\nHeight=" + std::to_string(IncrementHeight(skin)) + "\r\n";
}

std::string SizeFileName(const PlayerSkin& skin) {
  std::string name = skin.file_stem + ".ini";
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return name;
}

}  // namespace players
