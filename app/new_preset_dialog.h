// The "New Preset" dialog: asks for the name under which the current encoding values are kept.
#pragma once

#include <QDialog>

class QLineEdit;

class CNewPresetDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CNewPresetDialog(QWidget* parent = nullptr);

  QString name() const;
  QLineEdit* name_edit() const { return name_edit_; }

 private:
  QLineEdit* name_edit_;
};
