// The Advanced Options dialog: three external locations, each a switch with an address. It
// edits the options in place only on OK.
#pragma once

#include <QDialog>
#include <array>

#include "publish/external_url_option.h"

class QCheckBox;
class QLineEdit;

class AdvancedDlg : public QDialog {
  Q_OBJECT

 public:
  AdvancedDlg(QWidget* owner, publish::ExternalUrlOption& players_url,
              publish::ExternalUrlOption& videos_url, publish::ExternalUrlOption& js_url);

  // Fixes the font for the screen's DPI and runs the dialog.
  int DoModal();
  void Create(double dpi);

  QCheckBox* check(int row) const { return rows_[row].check; }
  QLineEdit* url(int row) const { return rows_[row].url; }

  void accept() override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  struct Row {
    publish::ExternalUrlOption* option;
    QCheckBox* check;
    QLineEdit* url;
  };
  std::array<Row, 3> rows_;
};
