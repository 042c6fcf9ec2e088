// The main window's template 102: every control of the three pages, and the panels, tabs,
// logo strip and bottom bar that the page bitmaps draw around them.
#pragma once

#include <vector>

#include "res/dialog_template.h"

const DialogTemplate& MainDialogTemplate();

// Panels drawn into the page bitmaps, each page's controls inside them.
const std::vector<PanelTemplate>& MainDialogPanels();

// The tab of a page (1 to 3) as drawn in the bitmaps; the tab buttons lie exactly over them.
QRect MainDialogTabRect(int page);

QRect MainDialogLogoStrip();
QRect MainDialogBottomBar();
