// A picture of a whole page as the user will see it: the page bitmap with the button faces,
// the progress bar and stand-ins for the edits, lists and labels at their template places.
// Only for looking at the skin; the program draws its real controls.
#pragma once

#include <QImage>
#include <vector>

#include "res/skin/skin_catalog.h"

namespace skin {

QImage DrawMockup(int page, const std::vector<SkinBitmap>& bitmaps);

}  // namespace skin
