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

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int background_id_ = -1;
  QImage background_;
};
