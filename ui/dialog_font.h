// The dialog font. Every dialog of the program uses "Microsoft Sans Serif", or where the system
// lacks it the metric replacement the build found (MS Sans Serif from fonts-wine), at a point size
// that keeps the text at about the same pixel height at any screen resolution, so that the controls
// keep their pixel places over the skin bitmaps.
#pragma once

class QFont;
class QWidget;

// 768 / dpi, truncated, plus one when the fraction is above one half; an exact half rounds
// down. 96 gives 8, 120 gives 6, 72 gives 11, 144 gives 5. A dpi that is not positive gives 8.
int DialogFontPointSize(double dpi);

// The dialog font for a screen of `dpi` with `device_pixel_ratio` device pixels to a pixel.
// The replacement face is bitmaps at a few pixel sizes only: on a screen of more (or fractional)
// device pixels it would keep its 1x letters while the spacing grows, so there a scalable face
// of close widths (DejaVu Sans Condensed) takes its place.
QFont DialogFont(double dpi, double device_pixel_ratio);

// Gives `dialog`, and with it every child that does not set a font of its own, the dialog font.
void ApplyDialogFont(QWidget* dialog, double dpi);

// The horizontal logical resolution of the screen that `widget` is on (the primary screen when
// it is null or not yet on one).
double ScreenDpi(const QWidget* widget);
