#include "res/skin/skin_catalog.h"

#include <algorithm>
#include <array>

#include "res/main_template.h"
#include "res/resource.h"
#include "res/skin/button_faces.h"
#include "res/skin/dialog_bitmaps.h"
#include "res/skin/glyphs.h"
#include "res/skin/page_bitmaps.h"
#include "res/skin/skin_kit.h"

namespace skin {

namespace {

// The tick sits on the encoding panel (and on the Get Code dialog's body, the same light fill).
QImage DrawTick(const QImage& encoding_page) {
  const QRect under = MainDialogTemplate().Find(IDC_ENCODED_TICK)->rect;
  QImage image = encoding_page.copy(QRect(under.topLeft(), QSize(32, 32)));
  QPainter p(&image);
  DrawTickDisc(p, QRectF(0, 0, 32, 32));
  return image;
}

}  // namespace

std::vector<SkinBitmap> DrawSkinBitmaps(QString* error) {
  const std::array<QImage, 3> pages{DrawPage(1), DrawPage(2), DrawPage(3)};
  std::vector<SkinBitmap> bitmaps = DrawButtonFaces(pages, error);
  if (bitmaps.empty()) return {};
  bitmaps.push_back({IDB_PAGE_FILES, pages[0]});
  bitmaps.push_back({IDB_PAGE_ENCODING, pages[1]});
  bitmaps.push_back({IDB_PAGE_PUBLISH, pages[2]});
  bitmaps.push_back({IDB_TICK, DrawTick(pages[1])});
  bitmaps.push_back({IDB_PROGRESS_FRAME, DrawProgressFrame()});
  bitmaps.push_back({IDB_PROGRESS_FILL, DrawProgressFill()});
  bitmaps.push_back({IDB_CONVERT_BACKGROUND, DrawDialogBackground({400, 300}, "Convert Video")});
  bitmaps.push_back({IDB_GET_CODE_BACKGROUND, DrawDialogBackground({480, 350}, "Get Code")});
  bitmaps.push_back(
      {IDB_CUSTOMIZE_BACKGROUND, DrawDialogBackground({400, 300}, "Customize Player")});
  bitmaps.push_back(
      {IDB_ADVANCED_BACKGROUND, DrawDialogBackground({371, 244}, "Advanced Options")});
  std::sort(bitmaps.begin(), bitmaps.end(),
            [](const SkinBitmap& a, const SkinBitmap& b) { return a.id < b.id; });
  for (size_t i = 1; i < bitmaps.size(); ++i) {
    if (bitmaps[i].id == bitmaps[i - 1].id) {
      *error = QStringLiteral("bitmap %1 is drawn twice").arg(bitmaps[i].id);
      return {};
    }
  }
  return bitmaps;
}

QImage DrawProgramIcon(int size) {
  QImage image(size, size, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  DrawReelMark(p, QRectF(0, 2, size, size - 2), false);
  return image;
}

}  // namespace skin
