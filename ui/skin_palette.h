// The colours of the skinned windows: the main window and the dialogs that wear bitmaps. Their
// bitmaps are light, so their texts, edits and the system greys mapped into the button faces
// must be too, whatever the desktop's palette: on a dark desktop its light text would vanish on
// the bitmaps and the disabled faces would turn into dark blocks. Message boxes and file
// dialogs are windows of their own and keep following the desktop.
#pragma once

class QPalette;
class QWidget;

// Qt's own light palette (the Fusion style's standard colours), the same on every desktop.
QPalette SkinPalette();

// Gives `window` and its children the skin palette. Call before the children load their
// bitmaps: the button faces take their greys from it.
void ApplySkinPalette(QWidget* window);
