// The three page backgrounds of the main window, 540 by 530: the logo strip, the tabs with the
// page's own tab raised, the panels of the page with their headings, and the bottom bar.
#pragma once

#include <QImage>

namespace skin {

QImage DrawPage(int page);  // page 1 to 3

}  // namespace skin
