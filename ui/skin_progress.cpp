#include "ui/skin_progress.h"

#include <QPainter>

#include "res/bitmaps.h"
#include "res/resource.h"

namespace {

const QColor kBackground(247, 251, 255);
const QPoint kFillOrigin(4, 3);

}  // namespace

CSkinProgress::CSkinProgress(QWidget* parent)
    : QProgressBar(parent),
      frame_(LoadBitmapResource(IDB_PROGRESS_FRAME)),
      fill_(LoadBitmapResource(IDB_PROGRESS_FILL)) {
  setRange(0, 100);
  setValue(0);
  setTextVisible(false);
  // QProgressBar repaints a new value only when its own painting would change by a chunk; it
  // never learns what this bar painted, so small steps would not show. Repaint every change.
  connect(this, &QProgressBar::valueChanged, this, qOverload<>(&QWidget::update));
}

int CSkinProgress::FillWidth(int position, int fill_image_width) {
  return static_cast<int>(position * fill_image_width * 0.01);
}

void CSkinProgress::paintEvent(QPaintEvent*) {
  // A fresh 32-bit back buffer at every paint, copied to the window in one go.
  QImage buffer(size(), QImage::Format_RGB32);
  buffer.fill(kBackground);
  {
    QPainter painter(&buffer);
    painter.drawImage(QPoint(0, 0), frame_);
    const int fill_width = FillWidth(qMax(value(), 0), fill_.width());
    if (fill_width > 0)
      painter.drawImage(kFillOrigin, fill_,
                        QRect(fill_.width() - fill_width, 0, fill_width, fill_.height()));
  }
  QPainter(this).drawImage(QPoint(0, 0), buffer);
}
