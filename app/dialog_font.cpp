#include "app/dialog_font.h"

#include <QFont>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

int DialogFontPointSize(double dpi) {
  const double x = 768.0 / dpi;
  const double whole = std::floor(x);
  return static_cast<int>(whole) + (x - whole > 0.5 ? 1 : 0);
}

void ApplyDialogFont(QWidget* dialog, double dpi) {
  QFont font(QStringLiteral("Microsoft Sans Serif"));
  font.setStyleHint(QFont::SansSerif);
  font.setPointSize(DialogFontPointSize(dpi));
  dialog->setFont(font);
}

double ScreenDpi(const QWidget* widget) {
  const QScreen* screen = widget && widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
  return screen ? screen->logicalDotsPerInchX() : 96.0;
}
