#include "ui/list_box.h"

#include <QAccessible>

CListBox::CListBox(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
}

void CListBox::focusInEvent(QFocusEvent* event) {
  QListWidget::focusInEvent(event);
  // Qt tells a screen reader that the list has the focus, not which row: it would say "list
  // with 4 items" and never which one is chosen. The row takes the focus next, as an arrow key
  // gives it, so the chosen row is said with its place ("Steel Blue, 2 of 4"). Next, because
  // the list's own focus news goes out after this handler, and the later one is what is said.
  QMetaObject::invokeMethod(this, &CListBox::AnnounceCurrentRow, Qt::QueuedConnection);
}

void CListBox::AnnounceCurrentRow() {
  if (!QAccessible::isActive() || !hasFocus() || !currentIndex().isValid()) return;
  QAccessibleEvent row_focus(this, QAccessible::Focus);
  row_focus.setChild(currentIndex().row());
  QAccessible::updateAccessibility(&row_focus);
}
