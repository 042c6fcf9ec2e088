#include "res/skin/skin_kit.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QtMath>

namespace skin {

namespace {

QString g_family_regular;
QString g_family_condensed;

QString AddFont(const QString& path, QString* error) {
  const int id = QFontDatabase::addApplicationFont(path);
  const QStringList families = QFontDatabase::applicationFontFamilies(id);
  if (id < 0 || families.isEmpty()) {
    *error = "cannot load the font " + path;
    return {};
  }
  return families.last();
}

}  // namespace

// res/CMakeLists.txt checks for these same files when the build is configured: keep both lists
// alike.
bool LoadFonts(const QString& font_folder, QString* error) {
  g_family_regular = AddFont(font_folder + "/DejaVuSans.ttf", error);
  if (g_family_regular.isEmpty()) return false;
  if (AddFont(font_folder + "/DejaVuSans-Bold.ttf", error).isEmpty()) return false;
  g_family_condensed = AddFont(font_folder + "/DejaVuSansCondensed-Bold.ttf", error);
  return !g_family_condensed.isEmpty();
}

QFont Font(int pixel_size, Weight weight) {
  QFont font(weight == Weight::CondensedBold ? g_family_condensed : g_family_regular);
  font.setPixelSize(pixel_size);
  font.setBold(weight != Weight::Regular);
  font.setHintingPreference(QFont::PreferFullHinting);
  return font;
}

QFont FittingFont(const QString& text, int width, int pixel_size, Weight weight) {
  QFont font = Font(pixel_size, weight);
  while (font.pixelSize() > 7 && QFontMetrics(font).horizontalAdvance(text) > width)
    font.setPixelSize(font.pixelSize() - 1);
  return font;
}

QImage NewPicture(QSize size, const QColor& fill) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(fill);
  return image;
}

QLinearGradient VerticalGradient(const QRectF& rect, const QColor& top, const QColor& bottom) {
  QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
  gradient.setColorAt(0, top);
  gradient.setColorAt(1, bottom);
  return gradient;
}

QPainterPath RoundedRect(const QRectF& rect, qreal radius) {
  QPainterPath path;
  path.addRoundedRect(rect, radius, radius);
  return path;
}

QPainterPath TopRoundedRect(const QRectF& rect, qreal radius) {
  QPainterPath path;
  path.moveTo(rect.bottomLeft());
  path.lineTo(rect.left(), rect.top() + radius);
  path.arcTo(QRectF(rect.left(), rect.top(), 2 * radius, 2 * radius), 180, -90);
  path.lineTo(rect.right() - radius, rect.top());
  path.arcTo(QRectF(rect.right() - 2 * radius, rect.top(), 2 * radius, 2 * radius), 90, -90);
  path.lineTo(rect.bottomRight());
  path.closeSubpath();
  return path;
}

void DrawShadowedText(QPainter& painter, const QRectF& rect, int flags, const QString& text,
                      const QColor& colour, const QColor& shadow, QPointF offset) {
  painter.setPen(shadow);
  painter.drawText(rect.translated(offset), flags, text);
  painter.setPen(colour);
  painter.drawText(rect, flags, text);
}

void DrawReelMark(QPainter& painter, const QRectF& box, bool light) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  const qreal size = qMin(box.width(), box.height());
  const qreal radius = size * 0.40;
  const QPointF centre(box.left() + radius + size * 0.02, box.top() + radius + size * 0.04);

  // The film leaves the reel at its foot and runs off to the right.
  const qreal strip_height = size * 0.22;
  const QRectF strip(centre.x(), centre.y() + radius - strip_height * 0.55,
                     box.right() - centre.x(), strip_height);
  const QColor film = light ? QColor(210, 228, 250) : QColor(64, 80, 104);
  const QColor hole = light ? kNavyBottom : QColor(236, 242, 250);
  painter.setPen(Qt::NoPen);
  painter.setBrush(film);
  painter.drawRoundedRect(strip, strip_height * 0.18, strip_height * 0.18);
  const qreal hole_size = strip_height * 0.30;
  for (qreal x = centre.x() + radius * 0.55; x + hole_size < strip.right() - hole_size * 0.3;
       x += hole_size * 2.0) {
    painter.setBrush(hole);
    painter.drawRect(QRectF(x, strip.top() + strip_height * 0.14, hole_size, hole_size * 0.8));
    painter.drawRect(QRectF(x, strip.bottom() - strip_height * 0.14 - hole_size * 0.8, hole_size,
                            hole_size * 0.8));
  }

  // The reel: a disc with a rim, five windows round a hub.
  QRadialGradient disc(centre - QPointF(radius * 0.35, radius * 0.35), radius * 1.6);
  if (light) {
    disc.setColorAt(0, QColor(255, 255, 255));
    disc.setColorAt(1, QColor(168, 204, 242));
  } else {
    disc.setColorAt(0, QColor(120, 180, 240));
    disc.setColorAt(1, QColor(30, 84, 160));
  }
  painter.setBrush(disc);
  painter.setPen(QPen(light ? QColor(255, 255, 255, 200) : QColor(16, 44, 90), size * 0.035));
  painter.drawEllipse(centre, radius, radius);
  painter.setPen(Qt::NoPen);
  painter.setBrush(light ? kNavyBottom : QColor(232, 240, 250));
  for (int i = 0; i < 5; ++i) {
    const qreal angle = qDegreesToRadians(-90.0 + 72.0 * i);
    const QPointF window = centre + QPointF(qCos(angle), qSin(angle)) * radius * 0.55;
    painter.drawEllipse(window, radius * 0.22, radius * 0.22);
  }
  painter.drawEllipse(centre, radius * 0.11, radius * 0.11);
  painter.restore();
}

void DrawNavyBand(QPainter& painter, const QRectF& rect) {
  painter.fillRect(rect, VerticalGradient(rect, kNavyTop, kNavyBottom));
  // A soft sheen over the upper half.
  QRectF sheen(rect.left(), rect.top(), rect.width(), rect.height() / 2);
  painter.fillRect(sheen,
                   VerticalGradient(sheen, QColor(255, 255, 255, 34), QColor(255, 255, 255, 6)));
  painter.fillRect(QRectF(rect.left(), rect.bottom() - 2, rect.width(), 2), kAccent);
}

}  // namespace skin
