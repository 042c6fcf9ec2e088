// The looks of each player we ship. One player program draws them all at run time, and the
// picture beside each player is drawn from the same description, so the two agree.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace players {

// 0xRRGGBB, as the drawing API takes colours.
using Rgb = uint32_t;

enum class ButtonShape { kRound, kRounded, kBare };

struct PlayerSkin {
  std::string file_stem;  // "skin-Name_With_Blanks", or "player" for the fallback
  std::string title;      // shown in the information box
  Rgb chrome_top;         // the frame round the video, a vertical gradient
  Rgb chrome_bottom;
  Rgb bar_top;  // the control bar, a vertical gradient
  Rgb bar_bottom;
  Rgb bar_line;     // the hairline along the top of the bar
  Rgb button_fill;  // behind each button's icon (not drawn for bare buttons)
  Rgb icon;         // icons and the time text
  Rgb icon_hover;   // an icon under the mouse
  Rgb track;        // the seek bar's empty part
  Rgb loaded;       // the part downloaded
  Rgb played;       // the part played
  Rgb screen;       // behind the video, shown where it is letterboxed
  int chrome;       // thickness of the frame round video and bar, in pixels
  int bar_height;   // in pixels
  ButtonShape button_shape;
  std::string font;  // a device font: "_sans", "_serif" or "_typewriter"
  int font_size;     // of the time text, in pixels
};

// The skins the user chooses from, each with its picture: the program lists a player only
// when its picture lies beside it.
const std::vector<PlayerSkin>& ShippedSkins();
// "player": the classic look once more, without a picture so that it is never listed. It is
// what a page gets when no skin is found or none is chosen.
const PlayerSkin& FallbackPlayer();

// Smallest page width and height in which the control bar keeps all its parts usable.
int MinimalWidth(const PlayerSkin& skin);
int MinimalHeight(const PlayerSkin& skin);
// What the player adds round the video: chrome on both sides, and the bar below.
int IncrementWidth(const PlayerSkin& skin);
int IncrementHeight(const PlayerSkin& skin);

// The buttons at the right end of the control bar, numbered from the right.
enum class RightButton { kFullScreen = 1, kInfo = 2, kMute = 3 };

// Layout of the control bar shared by the player and its picture, in pixels from the bar's
// left edge: the play button, the seek bar, the time, then the right-hand buttons. The buttons
// are squares of the bar's height less the padding; the seek bar takes what is left.
struct BarLayout {
  int padding;     // round each button
  int button;      // side of a button
  int time_width;  // room for "00:00 / 00:00"
  int min_seek;    // the seek bar is never shorter than this

  int SeekX() const { return 2 * padding + button; }
  // What everything but the seek bar takes: four buttons, the time and the padding.
  int AroundSeek() const { return 4 * button + 6 * padding + time_width; }
  // How far left of the bar's right edge a right-hand button begins.
  int FromRight(RightButton which) const { return static_cast<int>(which) * (padding + button); }
};
BarLayout LayoutOf(const PlayerSkin& skin);

}  // namespace players
