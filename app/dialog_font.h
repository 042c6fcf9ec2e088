// Every dialog's font is fixed in pixels: its point size follows the screen's DPI so that the
// controls keep their pixel positions over the fixed-size skin bitmaps.
#pragma once

class QWidget;

// 768 / DPI, truncated, plus one when the fraction is above one half (an exact half rounds
// down): 96 gives 8, 120 gives 6, 72 gives 11, 144 gives 5.
int DialogFontPointSize(double dpi);

// Sets "Microsoft Sans Serif" (or the platform's substitute) at that size on the dialog.
void ApplyDialogFont(QWidget* dialog, double dpi);

// The horizontal logical DPI of the screen the widget is on (of the primary screen before it
// is shown).
double ScreenDpi(const QWidget* widget);
