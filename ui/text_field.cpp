#include "ui/text_field.h"

#include <QFocusEvent>
#include <algorithm>

CTextField::CTextField(QWidget* parent) : QLineEdit(parent) {}

QRect CTextField::CharacterRect(int offset) const {
  const QString shown = displayText();
  offset = std::clamp(offset, 0, static_cast<int>(shown.size()));
  const QFontMetrics metrics = fontMetrics();
  // The caret's rectangle carries the field's scroll; the character is as far from the caret
  // as the text between them is wide.
  const QRect caret = cursorRect();
  const int caret_x = caret.center().x();
  const int x = caret_x + metrics.horizontalAdvance(shown.left(offset)) -
                metrics.horizontalAdvance(shown.left(cursorPosition()));
  const int width = offset < shown.size() ? metrics.horizontalAdvance(shown.at(offset)) : 1;
  return QRect(x, caret.top(), width, caret.height());
}

void CTextField::focusInEvent(QFocusEvent* event) {
  // Qt selects all of a field's text when Tab, Shift+Tab or a mnemonic brings the focus; the
  // same focus, passed on with another reason, keeps the text and the caret where they were.
  switch (event->reason()) {
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason: {
      QFocusEvent plain(QEvent::FocusIn, Qt::OtherFocusReason);
      QLineEdit::focusInEvent(&plain);
      return;
    }
    default:
      QLineEdit::focusInEvent(event);
  }
}
