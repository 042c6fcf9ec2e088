// The dialogs' one-line text field. Tab into it leaves its text as it is, unselected: a field
// that selected its whole text on the way in had a screen reader read the text twice, once as
// the selection and once as the field, and "Text unselected" on the way out.
#pragma once

#include <QLineEdit>

class CTextField : public QLineEdit {
  Q_OBJECT

 public:
  explicit CTextField(QWidget* parent = nullptr);

  // Where the character at `offset` is drawn, in the field's coordinates, scrolled as shown.
  QRect CharacterRect(int offset) const;

 protected:
  void focusInEvent(QFocusEvent* event) override;
};
