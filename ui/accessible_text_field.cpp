#include <algorithm>

#include "ui/accessible_interfaces.h"
#include "ui/text_field.h"

TextFieldAccessible::TextFieldAccessible(CTextField* field)
    : QAccessibleWidget(field, QAccessible::EditableText) {}

CTextField* TextFieldAccessible::field() const {
  return static_cast<CTextField*>(widget());
}

void* TextFieldAccessible::interface_cast(QAccessible::InterfaceType type) {
  if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
  if (type == QAccessible::EditableTextInterface && !field()->isReadOnly())
    return static_cast<QAccessibleEditableTextInterface*>(this);
  return QAccessibleWidget::interface_cast(type);
}

QString TextFieldAccessible::text(QAccessible::Text kind) const {
  if (kind == QAccessible::Value) return field()->displayText();
  QString text = QAccessibleWidget::text(kind);
  if (kind == QAccessible::Name && text.isEmpty()) text = field()->placeholderText();
  return text;
}

void TextFieldAccessible::setText(QAccessible::Text kind, const QString& text) {
  if (kind != QAccessible::Value) {
    QAccessibleWidget::setText(kind, text);
    return;
  }
  if (!field()->isReadOnly()) field()->setText(text);
}

QAccessible::State TextFieldAccessible::state() const {
  QAccessible::State state = QAccessibleWidget::state();
  state.editable = !field()->isReadOnly();
  state.readOnly = field()->isReadOnly();
  state.selectableText = true;
  state.passwordEdit = field()->echoMode() != QLineEdit::Normal;
  return state;
}

void TextFieldAccessible::selection(int index, int* start, int* end) const {
  *start = *end = 0;
  if (index != 0 || !field()->hasSelectedText()) return;
  *start = field()->selectionStart();
  *end = field()->selectionEnd();
}

int TextFieldAccessible::selectionCount() const {
  return field()->hasSelectedText() ? 1 : 0;
}

void TextFieldAccessible::addSelection(int start, int end) {
  setSelection(0, start, end);
}

void TextFieldAccessible::removeSelection(int index) {
  if (index == 0) field()->deselect();
}

void TextFieldAccessible::setSelection(int index, int start, int end) {
  if (index == 0) field()->setSelection(start, end - start);
}

int TextFieldAccessible::cursorPosition() const {
  return field()->cursorPosition();
}

void TextFieldAccessible::setCursorPosition(int position) {
  field()->setCursorPosition(position);
}

QString TextFieldAccessible::text(int start, int end) const {
  const QString shown = field()->displayText();
  if (end < 0 || end > shown.size()) end = static_cast<int>(shown.size());
  start = std::clamp(start, 0, end);
  return shown.mid(start, end - start);
}

int TextFieldAccessible::characterCount() const {
  return static_cast<int>(field()->displayText().size());
}

QRect TextFieldAccessible::characterRect(int offset) const {
  const QRect local = field()->CharacterRect(offset);
  return QRect(field()->mapToGlobal(local.topLeft()), local.size());
}

int TextFieldAccessible::offsetAtPoint(const QPoint& point) const {
  return field()->cursorPositionAt(field()->mapFromGlobal(point));
}

void TextFieldAccessible::scrollToSubstring(int start, int) {
  field()->setCursorPosition(start);
}

QString TextFieldAccessible::attributes(int, int* start, int* end) const {
  *start = 0;
  *end = characterCount();
  return {};
}

void TextFieldAccessible::deleteText(int start, int end) {
  replaceText(start, end, QString());
}

void TextFieldAccessible::insertText(int offset, const QString& text) {
  replaceText(offset, offset, text);
}

void TextFieldAccessible::replaceText(int start, int end, const QString& text) {
  if (field()->isReadOnly()) return;
  QString now = field()->text();
  start = std::clamp(start, 0, static_cast<int>(now.size()));
  end = std::clamp(end, start, static_cast<int>(now.size()));
  field()->setText(now.replace(start, end - start, text));
}
