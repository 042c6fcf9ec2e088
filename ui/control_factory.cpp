#include "ui/control_factory.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

#include "ui/list_box.h"
#include "ui/page_tab_button.h"
#include "ui/skin_button.h"
#include "ui/skin_progress.h"
#include "ui/text_field.h"

namespace {

// A check box that, as a dialog's check box does, takes a click anywhere in its rectangle, not
// only on its square and caption.
class TemplateCheckBox : public QCheckBox {
 public:
  using QCheckBox::QCheckBox;

 protected:
  bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

QWidget* MakeWidget(const ControlTemplate& control, QWidget* parent) {
  const QString caption = QString::fromUtf8(control.caption);
  switch (control.kind) {
    case ControlKind::Label: {
      // A dialog's static text wraps at its rectangle's width.
      auto* label = new QLabel(caption, parent);
      label->setWordWrap(true);
      return label;
    }
    case ControlKind::Edit:
      return new CTextField(parent);
    case ControlKind::DropList:
      return new QComboBox(parent);
    case ControlKind::DropEdit: {
      auto* combo = new QComboBox(parent);
      combo->setLineEdit(new CTextField(combo));
      // Typing never adds rows nor completes them: the typed text is simply the value.
      combo->setInsertPolicy(QComboBox::NoInsert);
      combo->setCompleter(nullptr);
      // Qt's combo box takes Enter in its field, and leaving the field, as a choice of the row
      // with the typed text (raising `activated`); here only a pick from the drop-down chooses.
      QObject::disconnect(combo->lineEdit(), SIGNAL(returnPressed()), combo, nullptr);
      QObject::disconnect(combo->lineEdit(), SIGNAL(editingFinished()), combo, nullptr);
      return combo;
    }
    case ControlKind::CheckBox:
      return new TemplateCheckBox(caption, parent);
    case ControlKind::RadioButton:
      return new QRadioButton(caption, parent);
    case ControlKind::SkinButton: {
      auto* button = new CSkinButton(parent);
      button->setText(caption);
      return button;
    }
    case ControlKind::PageTab:
      return new CPageTabButton(parent);
    case ControlKind::Progress:
      return new CSkinProgress(parent);
    case ControlKind::Picture: {
      auto* picture = new QLabel(parent);
      picture->setScaledContents(true);
      return picture;
    }
    case ControlKind::CodeBox: {
      auto* box = new QPlainTextEdit(parent);
      box->setReadOnly(true);
      // Lines are shown as they are, scrolled to in both directions, never wrapped.
      box->setLineWrapMode(QPlainTextEdit::NoWrap);
      box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
      box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
      QPalette palette = box->palette();
      palette.setColor(QPalette::Base, Qt::white);
      palette.setColor(QPalette::Text, Qt::black);
      box->setPalette(palette);
      return box;
    }
    case ControlKind::ListBox:
      return new CListBox(parent);
  }
  return nullptr;
}

// The controls that show no caption of their own, so a label before them is their name.
bool TakesALabel(ControlKind kind) {
  switch (kind) {
    case ControlKind::Edit:
    case ControlKind::DropList:
    case ControlKind::DropEdit:
    case ControlKind::ListBox:
    case ControlKind::CodeBox:
      return true;
    default:
      return false;
  }
}

}  // namespace

QWidget* CreateTemplateControl(const ControlTemplate& control, QWidget* parent) {
  QWidget* widget = MakeWidget(control, parent);
  widget->setObjectName(QString::fromLatin1(control.name));
  // A label is announced by the text it shows, as it changes; a name of its own would stand
  // in the way ("Input Video Label", "Player Name" for "Steel Blue selected").
  if (control.kind != ControlKind::Label)
    widget->setAccessibleName(QString::fromUtf8(control.accessible_name));
  widget->setGeometry(control.rect);
  return widget;
}

QHash<int, QWidget*> CreateTemplateControls(const DialogTemplate& dialog, QWidget* parent) {
  QHash<int, QWidget*> controls;
  QLabel* label_before = nullptr;
  for (const ControlTemplate& control : dialog.controls) {
    QWidget* widget = CreateTemplateControl(control, parent);
    controls.insert(control.id, widget);
    // A label that stands just before a field names it: its buddy takes the label's mnemonic and
    // the accessibility tree says the field is labelled by it.
    if (label_before && TakesALabel(control.kind)) label_before->setBuddy(widget);
    label_before = control.kind == ControlKind::Label ? static_cast<QLabel*>(widget) : nullptr;
  }
  return controls;
}
