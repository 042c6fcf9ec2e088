#include "outside/players/skin_picture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>

namespace players {
namespace {

QColor ColourOf(Rgb rgb) {
  return QColor::fromRgb(rgb);
}

QLinearGradient Vertical(const QRectF& rect, Rgb top, Rgb bottom) {
  QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
  gradient.setColorAt(0, ColourOf(top));
  gradient.setColorAt(1, ColourOf(bottom));
  return gradient;
}

// A stand-in frame of video: sky, sun and hills, so the picture reads as a player at work.
void DrawScene(QPainter& p, const QRectF& r) {
  QLinearGradient sky(r.topLeft(), r.bottomLeft());
  sky.setColorAt(0, QColor(70, 130, 200));
  sky.setColorAt(1, QColor(190, 220, 240));
  p.fillRect(r, sky);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 226, 140));
  p.drawEllipse(QPointF(r.left() + r.width() * 0.75, r.top() + r.height() * 0.3), r.height() * 0.12,
                r.height() * 0.12);
  QPainterPath far;
  far.moveTo(r.bottomLeft());
  far.lineTo(r.left(), r.top() + r.height() * 0.62);
  far.quadTo(r.left() + r.width() * 0.3, r.top() + r.height() * 0.4, r.left() + r.width() * 0.6,
             r.top() + r.height() * 0.6);
  far.quadTo(r.left() + r.width() * 0.8, r.top() + r.height() * 0.7, r.right(),
             r.top() + r.height() * 0.55);
  far.lineTo(r.bottomRight());
  p.setBrush(QColor(74, 128, 92));
  p.drawPath(far);
  QPainterPath near;
  near.moveTo(r.bottomLeft());
  near.lineTo(r.left(), r.top() + r.height() * 0.82);
  near.quadTo(r.left() + r.width() * 0.5, r.top() + r.height() * 0.62, r.right(),
              r.top() + r.height() * 0.86);
  near.lineTo(r.bottomRight());
  p.setBrush(QColor(46, 94, 60));
  p.drawPath(near);
}

void DrawButtonFace(QPainter& p, const PlayerSkin& skin, const QRectF& r) {
  p.setPen(Qt::NoPen);
  p.setBrush(ColourOf(skin.button_fill));
  if (skin.button_shape == ButtonShape::kRound) p.drawEllipse(r);
  if (skin.button_shape == ButtonShape::kRounded) p.drawRoundedRect(r, 4, 4);
}

// The same icon shapes, in fractions of the button, as the player draws.
void DrawPauseIcon(QPainter& p, const QRectF& r, const QColor& c) {
  const double b = r.width();
  p.setBrush(c);
  p.drawRect(QRectF(r.left() + 0.31 * b, r.top() + 0.28 * b, 0.14 * b, 0.44 * b));
  p.drawRect(QRectF(r.left() + 0.55 * b, r.top() + 0.28 * b, 0.14 * b, 0.44 * b));
}

void DrawSoundIcon(QPainter& p, const QRectF& r, const QColor& c) {
  const double b = r.width();
  auto at = [&](double x, double y) { return QPointF(r.left() + x * b, r.top() + y * b); };
  p.setBrush(c);
  p.drawPolygon(QPolygonF{at(0.2, 0.41), at(0.32, 0.41), at(0.5, 0.25), at(0.5, 0.75),
                          at(0.32, 0.59), at(0.2, 0.59)});
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(c, std::max(1.5, b / 14)));
  QPainterPath waves;
  waves.moveTo(at(0.6, 0.38));
  waves.quadTo(at(0.69, 0.5), at(0.6, 0.62));
  waves.moveTo(at(0.68, 0.29));
  waves.quadTo(at(0.83, 0.5), at(0.68, 0.71));
  p.drawPath(waves);
  p.setPen(Qt::NoPen);
}

void DrawInfoIcon(QPainter& p, const QRectF& r, const QColor& c) {
  const double b = r.width();
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(c, std::max(1.5, b / 16)));
  p.drawEllipse(QRectF(r.left() + 0.22 * b, r.top() + 0.22 * b, 0.56 * b, 0.56 * b));
  p.setPen(Qt::NoPen);
  p.setBrush(c);
  p.drawRect(QRectF(r.left() + 0.46 * b, r.top() + 0.32 * b, 0.08 * b, 0.08 * b));
  p.drawRect(QRectF(r.left() + 0.46 * b, r.top() + 0.45 * b, 0.08 * b, 0.23 * b));
}

// Four corners pointing out of the screen: the button that goes to full screen.
void DrawFullScreenIcon(QPainter& p, const QRectF& r, const QColor& c) {
  const double b = r.width(), reach = 0.25 * b, arm = 0.12 * b;
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(c, std::max(1.5, b / 14)));
  for (const double sx : {-1.0, 1.0}) {
    for (const double sy : {-1.0, 1.0}) {
      const QPointF corner = r.center() + QPointF(sx * reach, sy * reach);
      p.drawPolyline(
          QPolygonF{corner - QPointF(sx * arm, 0), corner, corner - QPointF(0, sy * arm)});
    }
  }
  p.setPen(Qt::NoPen);
}

}  // namespace

PictureLayout LayOutPicture(const PlayerSkin& skin, QSize size) {
  const double c = skin.chrome;
  const QRectF screen(c, c, size.width() - 2 * c, size.height() - 2 * c - skin.bar_height);
  // A 16:9 video fitted into the screen as the player fits one, centred, keeping its shape.
  const double scale = std::min(screen.width() / 16, screen.height() / 9);
  QRectF video(0, 0, 16 * scale, 9 * scale);
  video.moveCenter(screen.center());
  return {screen, video};
}

QImage DrawSkinPicture(const PlayerSkin& skin, QSize size) {
  QImage image(size, QImage::Format_RGB32);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const double w = size.width(), h = size.height(), c = skin.chrome, bh = skin.bar_height;
  const BarLayout bar = LayoutOf(skin);

  p.fillRect(QRectF(0, 0, w, h), Vertical(QRectF(0, 0, w, h), skin.chrome_top, skin.chrome_bottom));
  const PictureLayout layout = LayOutPicture(skin, size);
  p.fillRect(layout.screen, ColourOf(skin.screen));
  DrawScene(p, layout.video);

  const QRectF strip(c, h - c - bh, w - 2 * c, bh);
  p.fillRect(strip, Vertical(strip, skin.bar_top, skin.bar_bottom));
  p.fillRect(QRectF(strip.left(), strip.top(), strip.width(), 1), ColourOf(skin.bar_line));
  const double b = bar.button, pad = bar.padding;
  const QColor icon = ColourOf(skin.icon);
  const QRectF play(strip.left() + pad, strip.top() + pad, b, b);
  DrawButtonFace(p, skin, play);
  DrawPauseIcon(p, play, icon);

  const double seek_x = strip.left() + bar.SeekX();
  const double seek_w = std::max(10.0, strip.width() - bar.AroundSeek());
  const double track_h = std::max(4.0, bh / 6.0);
  const double track_y = strip.top() + (bh - track_h) / 2;
  p.setPen(Qt::NoPen);
  auto track = [&](double fraction, Rgb colour) {
    p.setBrush(ColourOf(colour));
    p.drawRoundedRect(QRectF(seek_x, track_y, std::max(track_h, seek_w * fraction), track_h),
                      track_h / 2, track_h / 2);
  };
  track(1, skin.track);
  track(kPictureLoaded, skin.loaded);
  track(kPicturePlayed, skin.played);
  const double knob = track_h + 6;
  p.setBrush(icon);
  p.drawEllipse(QRectF(seek_x + seek_w * kPicturePlayed - knob / 2, strip.top() + (bh - knob) / 2,
                       knob, knob));

  QFont font("DejaVu Sans");
  font.setPixelSize(skin.font_size);
  p.setFont(font);
  p.setPen(icon);
  p.drawText(QRectF(seek_x + seek_w + pad, strip.top(), bar.time_width, bh), Qt::AlignCenter,
             "0:42 / 1:50");
  p.setPen(Qt::NoPen);

  auto right_button = [&](RightButton which) {
    const QRectF face(strip.right() - bar.FromRight(which), strip.top() + pad, b, b);
    DrawButtonFace(p, skin, face);
    return face;
  };
  DrawSoundIcon(p, right_button(RightButton::kMute), icon);
  DrawInfoIcon(p, right_button(RightButton::kInfo), icon);
  DrawFullScreenIcon(p, right_button(RightButton::kFullScreen), icon);
  return image;
}

}  // namespace players
