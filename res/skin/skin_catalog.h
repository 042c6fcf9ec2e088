// Every bitmap of the program's skin and its icon, drawn in one place.
#pragma once

#include <QImage>
#include <vector>

namespace skin {

struct SkinBitmap {
  int id;
  QImage image;  // Format_Indexed8 for the 8-bit faces, Format_RGB32 for the 24-bit ones
};

// All bitmaps, ordered by id. Empty, with a reason, when a picture could not be made.
std::vector<SkinBitmap> DrawSkinBitmaps(QString* error);

// Icon 128: the reel mark on a transparent background.
QImage DrawProgramIcon(int size);

}  // namespace skin
