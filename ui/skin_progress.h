// The progress bar drawn from two bitmaps: a frame, and a fill whose right end is the bar's
// leading edge. Range 0 to 100; no frame of the platform's own.
#pragma once

#include <QImage>
#include <QProgressBar>

class CSkinProgress : public QProgressBar {
  Q_OBJECT

 public:
  explicit CSkinProgress(QWidget* parent = nullptr);

  // The width of the fill at `position`: position × fill width × 0.01, truncated.
  static int FillWidth(int position, int fill_image_width);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage frame_;
  QImage fill_;
};
