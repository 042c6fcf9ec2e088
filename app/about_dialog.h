// The About box: the program's icon, its version and a line about what it does, and OK.
#pragma once

#include <QDialog>

class QLabel;
class QWidget;

class CAboutDialog : public QDialog {
  Q_OBJECT

 public:
  // Built from the About template with the dialog font for `dpi`.
  CAboutDialog(QWidget* owner, double dpi);

 private:
  QLabel* version_ = nullptr;  // control 1076
};

// Runs the About box modally over `owner`, with the dialog font of `owner`'s screen.
void ShowAbout(QWidget* owner);
