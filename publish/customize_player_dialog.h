// The Customize Player dialog: the players found in the resources folder by name, with the
// picture of the one selected. It works on its own copy of the list; after OK, selection() is
// the user's choice (-1 when nothing was selected).
#pragma once

#include <QDialog>
#include <QHash>
#include <vector>

#include "publish/player_skin.h"

class QListWidget;
class QLabel;

class CCustomizePlayerDialog : public QDialog {
  Q_OBJECT

 public:
  CCustomizePlayerDialog(QWidget* owner, std::vector<publish::PlayerSkin> players, int which_player,
                         QString program_folder);

  // Fixes the font for the screen's DPI and runs the dialog.
  int DoModal();
  void Create(double dpi);

  int selection() const { return selection_; }
  QWidget* Control(int id) const { return controls_.value(id, nullptr); }
  QListWidget* list() const;
  QLabel* picture() const;
  // Whether the one-shot timer that paints the picture once the dialog shows is still to fire.
  bool preview_timer_pending() const { return preview_timer_ != 0; }

  void accept() override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void timerEvent(QTimerEvent* event) override;

 private:
  void ShowPreview(int index);

  std::vector<publish::PlayerSkin> players_;
  int selection_;
  QString program_folder_;
  QHash<int, QWidget*> controls_;
  int preview_timer_ = 0;
};
