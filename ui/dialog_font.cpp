#include "ui/dialog_font.h"

#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace {

const char kDialogFontFamily[] = "Microsoft Sans Serif";
constexpr double kPointsTimesDpi = 768;  // 8 points at 96 pixels per inch
constexpr int kFallbackPointSize = 8;

// The metric replacement of the face the templates were laid out in, loaded once from its file:
// with it the templates' texts fit their rectangles as they were made to. Empty when the file
// cannot be loaded; Qt then puts another sans font in place.
QString ReplacementFamily() {
  static const QString family = [] {
    const int id = QFontDatabase::addApplicationFont(QStringLiteral(REELWRIGHT_DIALOG_FONT_FILE));
    return QFontDatabase::applicationFontFamilies(id).value(0);
  }();
  return family;
}

}  // namespace

int DialogFontPointSize(double dpi) {
  if (!(dpi > 0)) return kFallbackPointSize;
  const double size = kPointsTimesDpi / dpi;
  const int whole = static_cast<int>(size);
  return size - whole > 0.5 ? whole + 1 : whole;
}

QFont DialogFont(double dpi, double device_pixel_ratio) {
  QFont font(kDialogFontFamily);
  const QString replacement =
      device_pixel_ratio == 1.0 ? ReplacementFamily() : QStringLiteral("DejaVu Sans Condensed");
  // The face itself where the system has it, else its replacement.
  if (!replacement.isEmpty()) font.setFamilies({kDialogFontFamily, replacement});
  font.setStyleHint(QFont::SansSerif);
  font.setPointSize(DialogFontPointSize(dpi));
  // The replacement face joins "TM" into a trade mark sign ("Output H™L"). Qt shapes text
  // without ligatures once the letter spacing is set; its smallest step, 1/64 pixel, moves
  // nothing.
  font.setLetterSpacing(QFont::AbsoluteSpacing, 1.0 / 64);
  return font;
}

void ApplyDialogFont(QWidget* dialog, double dpi) {
  dialog->setFont(DialogFont(dpi, dialog->devicePixelRatioF()));
}

double ScreenDpi(const QWidget* widget) {
  const QScreen* screen = widget ? widget->screen() : nullptr;
  if (!screen) screen = QGuiApplication::primaryScreen();
  return screen ? screen->logicalDotsPerInchX() : 96.0;
}
