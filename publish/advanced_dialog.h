// The Advanced Options dialog (template 237): three external locations, each a switch with an
// address, and whether publishing also writes an MP4 twin of the video. It edits the options in
// place only on OK; Enter is OK.
#pragma once

#include <QDialog>
#include <QHash>
#include <array>

#include "store/external_url_option.h"

class QCheckBox;
class QLineEdit;

class AdvancedDlg : public QDialog {
  Q_OBJECT

 public:
  AdvancedDlg(QWidget* owner, store::ExternalUrlOption& players_url,
              store::ExternalUrlOption& videos_url, store::ExternalUrlOption& js_url,
              bool& publish_mp4);

  // Fixes the font for the screen's DPI and runs the dialog.
  int DoModal();
  void Create(double dpi);

  QWidget* Control(int id) const { return controls_.value(id, nullptr); }
  QCheckBox* check(int row) const { return rows_[row].check; }
  QLineEdit* url(int row) const { return rows_[row].url; }
  QCheckBox* publish_mp4_check() const { return publish_mp4_check_; }

  void accept() override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  struct Row {
    store::ExternalUrlOption* option;
    QCheckBox* check;
    QLineEdit* url;
  };
  QHash<int, QWidget*> controls_;
  std::array<Row, 3> rows_;
  bool* publish_mp4_;
  QCheckBox* publish_mp4_check_;
};
