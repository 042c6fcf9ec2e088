// The Advanced Options dialog: three external locations, each a switch with an address. It
// edits the options in place only on OK.
#pragma once

#include <QDialog>
#include <array>

#include "store/external_url_option.h"

class QCheckBox;
class QLineEdit;

class AdvancedDlg : public QDialog {
  Q_OBJECT

 public:
  AdvancedDlg(QWidget* owner, store::ExternalUrlOption& players_url,
              store::ExternalUrlOption& videos_url, store::ExternalUrlOption& js_url);

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
    store::ExternalUrlOption* option;
    QCheckBox* check;
    QLineEdit* url;
  };
  std::array<Row, 3> rows_;
};
