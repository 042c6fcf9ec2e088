#include "res/skin/glyphs.h"

#include <QPainterPath>
#include <QPolygonF>

#include "res/skin/skin_kit.h"

namespace skin {

namespace {

const QColor kOutline(18, 34, 60);

void DrawFolder(QPainter& p) {
  QPainterPath back;
  back.moveTo(2, 19.5);
  back.lineTo(2, 5.5);
  back.lineTo(8.5, 5.5);
  back.lineTo(10.5, 7.5);
  back.lineTo(20.5, 7.5);
  back.lineTo(20.5, 19.5);
  back.closeSubpath();
  p.setPen(QPen(QColor(120, 80, 10), 1));
  p.setBrush(QColor(222, 160, 40));
  p.drawPath(back);
  QPolygonF front({{5.5, 10.5}, {23, 10.5}, {20.5, 20.5}, {2, 20.5}});
  p.setBrush(VerticalGradient(QRectF(0, 10, 24, 11), QColor(255, 224, 120), QColor(242, 178, 48)));
  p.drawPolygon(front);
  p.setPen(QPen(QColor(255, 246, 210), 1));
  p.drawLine(QPointF(6.2, 11.7), QPointF(21.6, 11.7));
}

void DrawDisk(QPainter& p) {
  QPainterPath body;
  body.moveTo(3, 3);
  body.lineTo(18, 3);
  body.lineTo(21, 6);
  body.lineTo(21, 21);
  body.lineTo(3, 21);
  body.closeSubpath();
  p.setPen(QPen(kOutline, 1));
  p.setBrush(VerticalGradient(QRectF(3, 3, 18, 18), QColor(72, 92, 124), QColor(36, 50, 74)));
  p.drawPath(body);
  // Metal shutter with its window.
  p.setPen(Qt::NoPen);
  p.setBrush(VerticalGradient(QRectF(7, 3, 10, 7), QColor(236, 240, 245), QColor(176, 186, 198)));
  p.drawRect(QRectF(7, 3.5, 10, 6.5));
  p.setBrush(QColor(52, 66, 90));
  p.drawRect(QRectF(13, 4.5, 2.5, 4.5));
  // Label.
  p.setBrush(QColor(250, 251, 253));
  p.drawRoundedRect(QRectF(6, 12.5, 12, 7.5), 1, 1);
  p.setPen(QPen(QColor(120, 150, 196), 0.8));
  p.drawLine(QPointF(7.5, 15), QPointF(16.5, 15));
  p.drawLine(QPointF(7.5, 17.5), QPointF(16.5, 17.5));
}

void DrawPencil(QPainter& p) {
  p.save();
  p.translate(16.5, 17);
  p.rotate(-45);
  p.setPen(QPen(QColor(90, 60, 10), 0.8));
  p.setBrush(
      VerticalGradient(QRectF(-6, -2.4, 11, 4.8), QColor(255, 220, 90), QColor(230, 160, 30)));
  p.drawRect(QRectF(-6, -2.4, 11, 4.8));
  p.setBrush(QColor(236, 120, 130));
  p.drawRect(QRectF(5, -2.4, 3, 4.8));
  p.setBrush(QColor(244, 214, 160));
  p.drawPolygon(QPolygonF({{-6, -2.4}, {-10.5, 0}, {-6, 2.4}}));
  p.setBrush(QColor(40, 40, 40));
  p.setPen(Qt::NoPen);
  p.drawPolygon(QPolygonF({{-8.8, -0.9}, {-10.6, 0}, {-8.8, 0.9}}));
  p.restore();
}

void DrawQuestionMark(QPainter& p) {
  QRadialGradient disc(QPointF(9, 8), 16);
  disc.setColorAt(0, QColor(255, 255, 255));
  disc.setColorAt(1, QColor(214, 230, 250));
  p.setPen(QPen(kOutline, 1));
  p.setBrush(disc);
  p.drawEllipse(QRectF(1.5, 1.5, 21, 21));
  p.setPen(QColor(28, 86, 170));
  p.setFont(Font(17, Weight::Bold));
  p.drawText(QRectF(1.5, 1.5, 21, 21), Qt::AlignCenter, "?");
}

void DrawRedCross(QPainter& p) {
  QRadialGradient disc(QPointF(9, 8), 16);
  disc.setColorAt(0, QColor(255, 120, 100));
  disc.setColorAt(1, QColor(186, 30, 22));
  p.setPen(QPen(QColor(110, 10, 8), 1));
  p.setBrush(disc);
  p.drawEllipse(QRectF(1.5, 1.5, 21, 21));
  p.setPen(QPen(Qt::white, 3.2, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(8, 8), QPointF(16, 16));
  p.drawLine(QPointF(16, 8), QPointF(8, 16));
}

void DrawArrow(QPainter& p, bool left) {
  p.save();
  if (left) {
    p.translate(24, 0);
    p.scale(-1, 1);
  }
  const QPolygonF arrow(
      {{3, 8.5}, {11, 8.5}, {11, 3}, {21.5, 12}, {11, 21}, {11, 15.5}, {3, 15.5}});
  p.setPen(QPen(QColor(255, 255, 255, 235), 3, Qt::SolidLine, Qt::SquareCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPolygon(arrow);
  p.setPen(QPen(QColor(14, 70, 16), 1, Qt::SolidLine, Qt::SquareCap, Qt::RoundJoin));
  p.setBrush(VerticalGradient(QRectF(0, 3, 24, 18), QColor(176, 246, 104), QColor(48, 168, 36)));
  p.drawPolygon(arrow);
  p.restore();
}

}  // namespace

void DrawGlyph(QPainter& painter, Glyph glyph, const QRectF& box) {
  if (glyph == Glyph::None) return;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.translate(box.topLeft());
  painter.scale(box.width() / 24.0, box.height() / 24.0);
  switch (glyph) {
    case Glyph::Folder:
      DrawFolder(painter);
      break;
    case Glyph::Disk:
      DrawDisk(painter);
      break;
    case Glyph::DiskWithPencil:
      DrawDisk(painter);
      DrawPencil(painter);
      break;
    case Glyph::QuestionMark:
      DrawQuestionMark(painter);
      break;
    case Glyph::RedCross:
      DrawRedCross(painter);
      break;
    case Glyph::LeftArrow:
    case Glyph::RightArrow:
      DrawArrow(painter, glyph == Glyph::LeftArrow);
      break;
    case Glyph::None:
      break;
  }
  painter.restore();
}

void DrawTickDisc(QPainter& painter, const QRectF& box) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF disc = box.adjusted(2, 1.5, -2, -2.5);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(20, 60, 20, 40));
  painter.drawEllipse(disc.translated(0, 1.5));
  QRadialGradient fill(disc.center() - QPointF(disc.width() * 0.2, disc.height() * 0.25),
                       disc.width() * 0.8);
  fill.setColorAt(0, QColor(136, 222, 110));
  fill.setColorAt(1, QColor(36, 140, 40));
  painter.setPen(QPen(QColor(22, 102, 26), 1));
  painter.setBrush(fill);
  painter.drawEllipse(disc);
  const qreal w = disc.width();
  const QPointF o = disc.topLeft();
  painter.setPen(QPen(Qt::white, w * 0.13, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawPolyline(QPolygonF({o + QPointF(w * 0.26, w * 0.52), o + QPointF(w * 0.44, w * 0.70),
                                  o + QPointF(w * 0.76, w * 0.33)}));
  painter.restore();
}

}  // namespace skin
