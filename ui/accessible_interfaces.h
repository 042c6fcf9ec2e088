// The accessibility interfaces InstallAccessibleWidgets() hands out, one a kind of control.
#pragma once

#include <QAccessibleWidget>

class QComboBox;
class CPageTabButton;
class CTextField;

// A drop-down list that cannot be typed in: its name is its label and its value ("Resolution,
// 640x480"), and a new value is announced as a value change.
class ChoiceListAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
 public:
  explicit ChoiceListAccessible(QComboBox* list);

  void* interface_cast(QAccessible::InterfaceType type) override;
  QString text(QAccessible::Text kind) const override;
  QList<std::pair<QAccessibleInterface*, QAccessible::Relation>> relations(
      QAccessible::Relation match) const override;
  QStringList actionNames() const override;
  void doAction(const QString& action) override;

  QVariant currentValue() const override;
  void setCurrentValue(const QVariant& value) override;
  QVariant maximumValue() const override;
  QVariant minimumValue() const override;
  QVariant minimumStepSize() const override;

 private:
  QComboBox* list() const;
};

// A one-line text field. Qt's own account of a line edit reports its text attributes as an
// empty run at each character, from which Orca cuts the last character off when it reads the
// field ("sample.mp"); here the whole text is one run.
class TextFieldAccessible : public QAccessibleWidget,
                            public QAccessibleTextInterface,
                            public QAccessibleEditableTextInterface {
 public:
  explicit TextFieldAccessible(CTextField* field);

  void* interface_cast(QAccessible::InterfaceType type) override;
  QString text(QAccessible::Text kind) const override;
  void setText(QAccessible::Text kind, const QString& text) override;
  QAccessible::State state() const override;

  void selection(int index, int* start, int* end) const override;
  int selectionCount() const override;
  void addSelection(int start, int end) override;
  void removeSelection(int index) override;
  void setSelection(int index, int start, int end) override;
  int cursorPosition() const override;
  void setCursorPosition(int position) override;
  QString text(int start, int end) const override;
  int characterCount() const override;
  QRect characterRect(int offset) const override;
  int offsetAtPoint(const QPoint& point) const override;
  void scrollToSubstring(int start, int end) override;
  QString attributes(int offset, int* start, int* end) const override;

  void deleteText(int start, int end) override;
  void insertText(int offset, const QString& text) override;
  void replaceText(int start, int end, const QString& text) override;

 private:
  CTextField* field() const;
};

// A page tab inside the tab list: selected while its page is shown.
class PageTabAccessible : public QAccessibleWidget {
 public:
  explicit PageTabAccessible(CPageTabButton* tab);

  QAccessible::Role role() const override;
  QAccessible::State state() const override;
  QStringList actionNames() const override;
  void doAction(const QString& action) override;

 private:
  CPageTabButton* tab() const;
};
