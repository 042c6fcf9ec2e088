#include "res/bitmaps.h"

#include "res/resource.h"

namespace {

QString BitmapPath(int id) { return QStringLiteral(":/bitmaps/%1.bmp").arg(id); }

}  // namespace

QImage LoadBitmapResource(int id) { return QImage(BitmapPath(id), "BMP"); }

QImage LoadBitmapResourceMapped(int id, const QPalette& palette) {
  QImage image = LoadBitmapResource(id);
  if (image.format() != QImage::Format_Indexed8) return image;
  QList<QRgb> table = image.colorTable();
  for (QRgb& entry : table) {
    if (entry == qRgb(128, 128, 128))
      entry = palette.color(QPalette::Dark).rgb();
    else if (entry == qRgb(192, 192, 192))
      entry = palette.color(QPalette::Button).rgb();
    else if (entry == qRgb(223, 223, 223))
      entry = palette.color(QPalette::Midlight).rgb();
  }
  image.setColorTable(table);
  return image;
}

QIcon LoadProgramIcon() { return QIcon(QStringLiteral(":/icons/%1.png").arg(IDR_MAINFRAME)); }
