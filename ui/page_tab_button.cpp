#include "ui/page_tab_button.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QPainter>

#include "res/bitmaps.h"
#include "ui/control_group.h"

CPageTabButton::CPageTabButton(QWidget* parent) : QAbstractButton(parent) {
  setFocusPolicy(Qt::NoFocus);
  setCursor(Qt::PointingHandCursor);
}

void CPageTabButton::SetBackground(int bitmap_id) {
  background_id_ = bitmap_id;
  background_ = LoadBitmapResource(bitmap_id);
  update();
}

void CPageTabButton::SetShown(bool shown) {
  if (shown == shown_) return;
  shown_ = shown;
  update();
  // Qt's AT-SPI bridge passes on a change of "selected" as a selection event, not as a state
  // change.
  QAccessibleEvent event(this, shown ? QAccessible::SelectionAdd : QAccessible::SelectionRemove);
  QAccessible::updateAccessibility(&event);
}

void CPageTabButton::paintEvent(QPaintEvent*) {
  if (background_.isNull()) return;
  QPainter painter(this);
  // The page bitmap is drawn at (0, 0) of the page the tabs were laid out on.
  const QPoint on_page = mapTo(CControlGroup::LaidOutOn(this), QPoint(0, 0));
  painter.drawImage(QPoint(0, 0), background_, QRect(on_page, size()));
  if (!hasFocus()) return;
  // The keyboard's place: a dotted frame inside the tab, as a dialog's tab control draws it,
  // in the dark blue of the tabs' captions so it shows on the light tab bitmaps.
  painter.setPen(QPen(QColor(0x1f, 0x3a, 0x60), 1, Qt::DotLine));
  painter.drawRect(rect().adjusted(6, 6, -7, -4));
}

void CPageTabButton::keyPressEvent(QKeyEvent* event) {
  // Enter shows the tab's page as Space does.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    click();
    return;
  }
  QAbstractButton::keyPressEvent(event);
}
