// The faces of every skinned button: normal blue, hover and pressed green, disabled grey (8 bits
// with the 3D greys where the button's disabled face follows the system colours).
#pragma once

#include <array>

#include "res/skin/skin_catalog.h"

namespace skin {

// `pages` are the three page bitmaps; a main-window button's corners show the page under it.
std::vector<SkinBitmap> DrawButtonFaces(const std::array<QImage, 3>& pages, QString* error);

}  // namespace skin
