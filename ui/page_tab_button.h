// An invisible tab: a button that looks exactly like the part of the page bitmap under it,
// pressed or not, so the tabs drawn in the page bitmap seem to be the buttons.
#pragma once

#include <QAbstractButton>
#include <QImage>

class CPageTabButton : public QAbstractButton {
  Q_OBJECT

 public:
  explicit CPageTabButton(QWidget* parent = nullptr);

  // Remembers the page bitmap and loads it; the one it replaces is freed.
  void SetBackground(int bitmap_id);
  int background_id() const { return background_id_; }

  // Whether this tab's page is the one shown (the page bitmap draws it as the front tab).
  void SetShown(bool shown);
  bool shown() const { return shown_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  int background_id_ = -1;
  QImage background_;
  bool shown_ = false;
};
