#include "ui/skin_palette.h"

#include <QPalette>
#include <QStyle>
#include <QStyleFactory>
#include <QWidget>
#include <memory>

QPalette SkinPalette() {
  static const QPalette palette = [] {
    const std::unique_ptr<QStyle> fusion(QStyleFactory::create("Fusion"));
    return fusion ? fusion->standardPalette() : QPalette(QColor(239, 239, 239));
  }();
  return palette;
}

void ApplySkinPalette(QWidget* window) {
  window->setPalette(SkinPalette());
}
