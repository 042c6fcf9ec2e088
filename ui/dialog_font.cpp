#include "ui/dialog_font.h"

#include <QFont>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace {

const char kDialogFontFamily[] = "Microsoft Sans Serif";
constexpr double kPointsTimesDpi = 768;  // 8 points at 96 pixels per inch
constexpr int kFallbackPointSize = 8;

}  // namespace

int DialogFontPointSize(double dpi) {
  if (!(dpi > 0)) return kFallbackPointSize;
  const double size = kPointsTimesDpi / dpi;
  const int whole = static_cast<int>(size);
  return size - whole > 0.5 ? whole + 1 : whole;
}

void ApplyDialogFont(QWidget* dialog, double dpi) {
  QFont font(kDialogFontFamily);
  font.setStyleHint(QFont::SansSerif);
  font.setPointSize(DialogFontPointSize(dpi));
  dialog->setFont(font);
}

double ScreenDpi(const QWidget* widget) {
  const QScreen* screen = widget ? widget->screen() : nullptr;
  if (!screen) screen = QGuiApplication::primaryScreen();
  return screen ? screen->logicalDotsPerInchX() : 96.0;
}
