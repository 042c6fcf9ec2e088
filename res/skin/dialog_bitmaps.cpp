#include "res/skin/dialog_bitmaps.h"

#include "res/skin/skin_kit.h"

namespace skin {

namespace {

const QSize kFrameSize(266, 25);
const QSize kFillSize(259, 19);
const QPoint kFillOrigin(4, 3);

}  // namespace

QImage DrawDialogBackground(QSize size, const QString& title) {
  QImage image = NewPicture(size, kPanelFill);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  DrawNavyBand(p, QRectF(0, 0, size.width(), kDialogHeaderHeight));
  DrawReelMark(p, QRectF(12, 7, 46, 36), true);
  p.setFont(Font(18, Weight::Bold));
  DrawShadowedText(p, QRectF(66, 0, size.width() - 76, kDialogHeaderHeight - 2),
                   Qt::AlignLeft | Qt::AlignVCenter, title, Qt::white, QColor(0, 0, 0, 90), {1, 1});
  // A soft shade under the header, fading into the body.
  const QRectF shade(0, kDialogHeaderHeight, size.width(), 6);
  p.fillRect(shade, VerticalGradient(shade, QColor(40, 70, 120, 40), QColor(40, 70, 120, 0)));
  // A hairline frame round the body.
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(kLine);
  p.setBrush(Qt::NoBrush);
  p.drawRect(
      QRect(0, kDialogHeaderHeight, size.width() - 1, size.height() - kDialogHeaderHeight - 1));
  return image;
}

QImage DrawProgressFrame() {
  QImage image = NewPicture(kFrameSize, kPanelFill);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF outer = QRectF(QPointF(0, 0), kFrameSize).adjusted(0.5, 0.5, -0.5, -0.5);
  p.setPen(QPen(kLine, 1));
  p.setBrush(VerticalGradient(outer, QColor(236, 242, 250), QColor(252, 253, 255)));
  p.drawPath(RoundedRect(outer, 5));
  // The trough: a sunken track exactly where the fill goes.
  const QRectF track(QRectF(kFillOrigin, kFillSize));
  p.fillRect(track, VerticalGradient(track, QColor(208, 220, 236), QColor(240, 245, 252)));
  p.setPen(QColor(170, 190, 218));
  p.drawLine(QPointF(track.left(), track.top() + 0.5), QPointF(track.right(), track.top() + 0.5));
  return image;
}

QImage DrawProgressFill() {
  QImage image = NewPicture(kFillSize, Qt::black);
  QPainter p(&image);
  const QRectF all(QPointF(0, 0), kFillSize);
  QLinearGradient along(all.topLeft(), all.topRight());
  along.setColorAt(0, QColor(26, 112, 40));
  along.setColorAt(0.7, QColor(60, 170, 56));
  along.setColorAt(1, QColor(120, 222, 88));
  p.fillRect(all, along);
  // Glass: light over the upper half, a darker foot.
  const QRectF upper(0, 0, all.width(), all.height() / 2);
  p.fillRect(upper, VerticalGradient(upper, QColor(255, 255, 255, 110), QColor(255, 255, 255, 30)));
  const QRectF foot(0, all.height() - 4, all.width(), 4);
  p.fillRect(foot, VerticalGradient(foot, QColor(0, 40, 0, 0), QColor(0, 40, 0, 60)));
  // Slanted stripes, and the bright leading edge at the right end.
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 255, 255, 26));
  for (qreal x = all.width() - 4; x > -20; x -= 14)
    p.drawPolygon(QPolygonF({{x, 0}, {x + 6, 0}, {x - 3, all.height()}, {x - 9, all.height()}}));
  QLinearGradient edge(QPointF(all.width() - 12, 0), QPointF(all.width(), 0));
  edge.setColorAt(0, QColor(220, 255, 190, 0));
  edge.setColorAt(0.75, QColor(230, 255, 200, 170));
  edge.setColorAt(1, QColor(255, 255, 255, 230));
  p.fillRect(QRectF(all.width() - 12, 0, 12, all.height()), edge);
  p.fillRect(QRectF(0, 0, all.width(), 1), QColor(20, 90, 30, 120));
  p.fillRect(QRectF(0, all.height() - 1, all.width(), 1), QColor(10, 70, 20, 150));
  return image;
}

}  // namespace skin
