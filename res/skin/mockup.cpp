#include "res/skin/mockup.h"

#include <map>

#include "res/main_template.h"
#include "res/resource.h"
#include "res/skin/skin_kit.h"

namespace skin {

namespace {

// The face each button shows right after start-up.
// clang-format off
const std::map<int, int> kStartFaces = {
    {IDC_BROWSE_VIDEO, IDB_BROWSE}, {IDC_BROWSE_FLV, IDB_BROWSE}, {IDC_BROWSE_FOLDER, IDB_BROWSE},
    {IDC_ADD_PRESET, IDB_ADD_PRESET}, {IDC_DELETE_PRESET, IDB_DELETE_PRESET},
    {IDC_START_ENCODING, IDB_START}, {IDC_ENCODED_TICK, IDB_TICK},
    {IDC_CUSTOMIZE_PLAYER, IDB_CUSTOMIZE}, {IDC_ADVANCED_OPTIONS, IDB_ADVANCED},
    {IDC_JOIN_NOW, IDB_JOIN_NOW}, {IDC_PRODUCE_PAGE, IDB_PRODUCE}, {IDC_PUBLISHED_TICK, IDB_TICK},
    {IDC_PREVIEW_PAGE, IDB_PREVIEW_DISABLED}, {IDC_GET_CODE, IDB_GET_CODE_DISABLED},
    {IDC_OPEN, IDB_OPEN}, {IDC_SAVE, IDB_SAVE}, {IDC_SAVE_AS, IDB_SAVE_AS},
    {IDC_BACK, IDB_BACK}, {IDC_NEXT, IDB_NEXT}, {IDC_HELP, IDB_HELP}, {IDC_EXIT, IDB_EXIT},
};
// clang-format on

// An 8-bit face as the program shows it under Qt's standard palette.
QImage AsShown(QImage face) {
  if (face.format() != QImage::Format_Indexed8) return face;
  QList<QRgb> table = face.colorTable();
  for (QRgb& entry : table) {
    if (entry == kShadowGrey.rgb())
      entry = kMappedShadowGrey.rgb();
    else if (entry == kFaceGrey.rgb())
      entry = kMappedFaceGrey.rgb();
    else if (entry == kLightGrey.rgb())
      entry = kMappedLightGrey.rgb();
  }
  face.setColorTable(table);
  return face;
}

QImage Find(const std::vector<SkinBitmap>& bitmaps, int id) {
  for (const SkinBitmap& bitmap : bitmaps)
    if (bitmap.id == id) return AsShown(bitmap.image);
  return {};
}

void DrawField(QPainter& p, const QRect& rect, bool list) {
  p.setPen(QColor(122, 138, 160));
  p.setBrush(Qt::white);
  p.drawRect(rect.adjusted(0, 0, -1, -1));
  if (!list) return;
  const QRect arrow(rect.right() - 17, rect.top() + 2, 16, rect.height() - 4);
  p.fillRect(arrow, QColor(230, 236, 244));
  p.setBrush(QColor(60, 70, 90));
  p.setPen(Qt::NoPen);
  const QPointF c = QRectF(arrow).center();
  p.drawPolygon(QPolygonF({c + QPointF(-4, -2), c + QPointF(4, -2), c + QPointF(0, 3)}));
}

void DrawCaption(QPainter& p, const ControlTemplate& control, bool box) {
  QRect text = control.rect;
  if (box) {
    const QRect square(text.left(), text.center().y() - 6, 13, 13);
    p.setPen(QColor(122, 138, 160));
    p.setBrush(Qt::white);
    if (control.kind == ControlKind::RadioButton)
      p.drawEllipse(square);
    else
      p.drawRect(square);
    text.setLeft(text.left() + 18);
  }
  p.setPen(Qt::black);
  p.setFont(Font(11, Weight::Regular));
  p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, control.caption);
}

}  // namespace

QImage DrawMockup(int page, const std::vector<SkinBitmap>& bitmaps) {
  const int page_ids[] = {IDB_PAGE_FILES, IDB_PAGE_ENCODING, IDB_PAGE_PUBLISH};
  QImage image = Find(bitmaps, page_ids[page - 1]).convertToFormat(QImage::Format_RGB32);
  QPainter p(&image);
  p.setRenderHint(QPainter::TextAntialiasing);
  for (const ControlTemplate& control : MainDialogTemplate().controls) {
    if (control.page != 0 && control.page != page) continue;
    if ((control.id == IDC_BACK && page == 1) || (control.id == IDC_NEXT && page == 3)) continue;
    switch (control.kind) {
      case ControlKind::SkinButton:
        if (kStartFaces.count(control.id))
          p.drawImage(control.rect.topLeft(), Find(bitmaps, kStartFaces.at(control.id)));
        break;
      case ControlKind::Edit:
        DrawField(p, control.rect, false);
        break;
      case ControlKind::DropList:
      case ControlKind::DropEdit:
        DrawField(p, control.rect, true);
        break;
      case ControlKind::Label:
        DrawCaption(p, control, false);
        break;
      case ControlKind::CheckBox:
      case ControlKind::RadioButton:
        DrawCaption(p, control, true);
        break;
      case ControlKind::Progress: {
        // Half way, drawn as the bar draws itself: the right half of the fill.
        const QImage fill = Find(bitmaps, IDB_PROGRESS_FILL);
        const int width = fill.width() / 2;
        p.drawImage(control.rect.topLeft(), Find(bitmaps, IDB_PROGRESS_FRAME));
        p.drawImage(control.rect.topLeft() + QPoint(4, 3), fill,
                    QRect(fill.width() - width, 0, width, fill.height()));
        break;
      }
      case ControlKind::PageTab:
      case ControlKind::Picture:
      case ControlKind::CodeBox:  // only in dialogs of their own
      case ControlKind::ListBox:
        break;
    }
  }
  return image;
}

}  // namespace skin
