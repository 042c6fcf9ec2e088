// The Get Code dialog: the part of the published page a user pastes into a page of their own,
// in a read-only box, and a button that puts it on the clipboard. The tick that confirms the
// copy stays until the dialog is closed.
#pragma once

#include <QDialog>
#include <QHash>

class QPlainTextEdit;

class CGetCodeDialog : public QDialog {
  Q_OBJECT

 public:
  CGetCodeDialog(QWidget* owner, const QString& code);

  // Fixes the font for the screen's DPI and runs the dialog.
  int DoModal();
  void Create(double dpi);

  QWidget* Control(int id) const { return controls_.value(id, nullptr); }
  QPlainTextEdit* code_box() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void OnCopyCode();

  QString code_;
  QHash<int, QWidget*> controls_;
};
