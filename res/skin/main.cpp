// reelwright_skin: draws every bitmap of the program's skin and its icon.
//
//   reelwright_skin --fonts DIR OUT        OUT/bitmaps/<id>.bmp, OUT/icons/128.png, OUT/skin.qrc
//   reelwright_skin --fonts DIR --png OUT  every bitmap as OUT/<id>.png, the icon, and each
//                                          page as it will look with its controls on it
//   reelwright_skin --fonts DIR --icons OUT  the icon at the desktop's usual sizes, as
//                                          OUT/<n>x<n>/apps/reelwright.png (a hicolor theme)
//
// The build runs the first form and compiles the resource file into the program; the output
// depends only on this program and the fonts, so every run gives the same bytes.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>

#include "res/resource.h"
#include "res/skin/bmp_writer.h"
#include "res/skin/mockup.h"
#include "res/skin/skin_catalog.h"
#include "res/skin/skin_kit.h"

namespace {

constexpr int kIconSize = 48;
// The sizes menus, panels and file managers ask the icon theme for.
constexpr int kDesktopIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

int Fail(const QString& reason) {
  std::fprintf(stderr, "reelwright_skin: %s\n", qPrintable(reason));
  return 1;
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QString ResourceFile(const std::vector<skin::SkinBitmap>& bitmaps, const QString& icon) {
  QString text;
  QTextStream out(&text);
  out << "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n<qresource prefix=\"/\">\n";
  for (const skin::SkinBitmap& bitmap : bitmaps)
    out << "  <file>bitmaps/" << bitmap.id << ".bmp</file>\n";
  out << "  <file>" << icon << "</file>\n</qresource>\n</RCC>\n";
  return text;
}

int WriteResources(const QString& folder, const std::vector<skin::SkinBitmap>& bitmaps) {
  QDir out(folder);
  if (!out.mkpath("bitmaps") || !out.mkpath("icons")) return Fail("cannot make " + folder);
  for (const skin::SkinBitmap& bitmap : bitmaps) {
    const QString path = out.filePath(QStringLiteral("bitmaps/%1.bmp").arg(bitmap.id));
    if (!WriteFile(path, skin::EncodeBmp(bitmap.image))) return Fail("cannot write " + path);
  }
  const QString icon = QStringLiteral("icons/%1.png").arg(IDR_MAINFRAME);
  if (!skin::DrawProgramIcon(kIconSize).save(out.filePath(icon), "PNG"))
    return Fail("cannot write " + out.filePath(icon));
  // The resource file is written last: the build takes it as the sign that all is there.
  const QString qrc = out.filePath("skin.qrc");
  if (!WriteFile(qrc, ResourceFile(bitmaps, icon).toUtf8())) return Fail("cannot write " + qrc);
  return 0;
}

int WritePngs(const QString& folder, const std::vector<skin::SkinBitmap>& bitmaps) {
  QDir out(folder);
  if (!out.mkpath(".")) return Fail("cannot make " + folder);
  for (const skin::SkinBitmap& bitmap : bitmaps) {
    const QString path = out.filePath(QStringLiteral("%1.png").arg(bitmap.id));
    if (!bitmap.image.save(path, "PNG")) return Fail("cannot write " + path);
  }
  const QString icon = out.filePath(QStringLiteral("icon-%1.png").arg(IDR_MAINFRAME));
  if (!skin::DrawProgramIcon(kIconSize).save(icon, "PNG")) return Fail("cannot write " + icon);
  for (int page = 1; page <= 3; ++page) {
    const QString path = out.filePath(QStringLiteral("mockup-page-%1.png").arg(page));
    if (!skin::DrawMockup(page, bitmaps).save(path, "PNG")) return Fail("cannot write " + path);
  }
  std::printf("%zu bitmaps and the icon written to %s\n", bitmaps.size(), qPrintable(folder));
  return 0;
}

int WriteDesktopIcons(const QString& folder) {
  for (const int size : kDesktopIconSizes) {
    const QString apps = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(size);
    if (!QDir().mkpath(apps)) return Fail("cannot make " + apps);
    const QString path = apps + "/reelwright.png";
    if (!skin::DrawProgramIcon(size).save(path, "PNG")) return Fail("cannot write " + path);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);

  QStringList args = app.arguments().mid(1);
  QString fonts;
  bool png = false;
  bool icons = false;
  while (!args.isEmpty() && args.first().startsWith("--")) {
    const QString option = args.takeFirst();
    if (option == "--png") {
      png = true;
    } else if (option == "--icons") {
      icons = true;
    } else if (option == "--fonts" && !args.isEmpty()) {
      fonts = args.takeFirst();
    } else {
      return Fail("unknown option " + option);
    }
  }
  if (fonts.isEmpty() || args.size() != 1)
    return Fail("usage: reelwright_skin --fonts DIR [--png | --icons] OUTPUT_FOLDER");

  QString error;
  if (!skin::LoadFonts(fonts, &error)) return Fail(error);
  if (icons) return WriteDesktopIcons(args.first());
  const std::vector<skin::SkinBitmap> bitmaps = skin::DrawSkinBitmaps(&error);
  if (bitmaps.empty()) return Fail(error);
  return png ? WritePngs(args.first(), bitmaps) : WriteResources(args.first(), bitmaps);
}
