#include "res/bitmaps.h"

#include "res/resource.h"

// The skin is compiled into the core library; a static library keeps its resources only when
// something refers to them, which this does. (Q_INIT_RESOURCE must not sit in a namespace.)
static void EnsureSkinResources() {
  static const bool registered = [] {
    Q_INIT_RESOURCE(reelwright_skin);
    return true;
  }();
  (void)registered;
}

namespace {

QString BitmapPath(int id) {
  return QStringLiteral(":/bitmaps/%1.bmp").arg(id);
}

}  // namespace

QImage LoadBitmapResource(int id) {
  EnsureSkinResources();
  return QImage(BitmapPath(id), "BMP");
}

QImage LoadBitmapResourceMapped(int id, const QPalette& palette) {
  QImage image = LoadBitmapResource(id);
  if (image.format() != QImage::Format_Indexed8) return image;
  // The system's 3D colours do not change with a widget's state: always the active group's,
  // whether the widget asking is enabled, disabled or in an inactive window.
  const auto system = [&palette](QPalette::ColorRole role) {
    return palette.color(QPalette::Active, role).rgb();
  };
  QList<QRgb> table = image.colorTable();
  for (QRgb& entry : table) {
    if (entry == qRgb(128, 128, 128))
      entry = system(QPalette::Dark);
    else if (entry == qRgb(192, 192, 192))
      entry = system(QPalette::Button);
    else if (entry == qRgb(223, 223, 223))
      entry = system(QPalette::Midlight);
  }
  image.setColorTable(table);
  return image;
}

QIcon LoadProgramIcon() {
  EnsureSkinResources();
  return QIcon(QStringLiteral(":/icons/%1.png").arg(IDR_MAINFRAME));
}
