#include "outside/players/player_skin.h"

namespace players {
namespace {

PlayerSkin ClassicLook(const char* file_stem) {
  return {file_stem, "Classic", 0x22487F, 0x10264E, 0x22487F, 0x10264E, 0x60B2F0,
          0x2E5A96,  0xFFFFFF, 0x9FD3FA, 0x0B1C3A, 0x4F6F9C, 0x60B2F0, 0x000000,
          4,         34,       ButtonShape::kRounded, "_sans", 12};
}

}  // namespace

const std::vector<PlayerSkin>& ShippedSkins() {
  static const std::vector<PlayerSkin> skins = {
      // Listed first, so the one a fresh program chooses: the program's own navy and sky blue.
      ClassicLook("skin-Classic"),
      {"skin-Steel_Blue", "Steel Blue", 0x8FA6C1, 0x5D7594, 0x4A6485, 0x2C405C, 0xA9C1DE, 0x5B7799,
       0xF2F6FB, 0xFFFFFF, 0x1D2B3D, 0x7D93AE, 0xD4E6FA, 0x0D1218, 6, 32, ButtonShape::kRounded,
       "_sans", 12},
      {"skin-Graphite_Night", "Graphite Night", 0x3A3A3E, 0x1E1E21, 0x2B2B2F, 0x121214, 0x4A4A50,
       0x3C3C42, 0xE6E6E6, 0xFF9A3C, 0x3A3A3E, 0x6A6A70, 0xFF8A1E, 0x000000, 3, 38,
       ButtonShape::kRound, "_sans", 13},
      {"skin-Silver_Light", "Silver Light", 0xF4F6F8, 0xC9CFD6, 0xFAFBFC, 0xD9DEE4, 0xFFFFFF,
       0xE9EDF1, 0x2A3440, 0x1E78D2, 0xB7C0CA, 0x8E9AA8, 0x1E78D2, 0x101418, 5, 30,
       ButtonShape::kBare, "_sans", 11},
  };
  return skins;
}

const PlayerSkin& FallbackPlayer() {
  static const PlayerSkin fallback = ClassicLook("player");
  return fallback;
}

BarLayout LayoutOf(const PlayerSkin& skin) {
  const int padding = skin.bar_height / 8;
  return BarLayout{padding, skin.bar_height - 2 * padding, skin.font_size * 8, 40};
}

int MinimalWidth(const PlayerSkin& skin) {
  const BarLayout bar = LayoutOf(skin);
  return IncrementWidth(skin) + bar.AroundSeek() + bar.min_seek;
}

int MinimalHeight(const PlayerSkin& skin) {
  // The bar, and room above it for the big play button.
  return IncrementHeight(skin) + 2 * skin.bar_height;
}

int IncrementWidth(const PlayerSkin& skin) {
  return 2 * skin.chrome;
}
int IncrementHeight(const PlayerSkin& skin) {
  return 2 * skin.chrome + skin.bar_height;
}

}  // namespace players
