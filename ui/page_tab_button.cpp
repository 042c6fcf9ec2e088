#include "ui/page_tab_button.h"

#include <QPainter>

#include "res/bitmaps.h"

CPageTabButton::CPageTabButton(QWidget* parent) : QAbstractButton(parent) {
  setFocusPolicy(Qt::NoFocus);
  setCursor(Qt::PointingHandCursor);
}

void CPageTabButton::SetBackground(int bitmap_id) {
  background_id_ = bitmap_id;
  background_ = LoadBitmapResource(bitmap_id);
  update();
}

void CPageTabButton::paintEvent(QPaintEvent*) {
  if (background_.isNull()) return;
  // The button's rectangle in its parent, which is where the page bitmap is drawn at (0, 0).
  QPainter(this).drawImage(QPoint(0, 0), background_, geometry());
}
