#include "res/skin/button_faces.h"

#include "res/main_template.h"
#include "res/resource.h"
#include "res/skin/glyphs.h"
#include "res/skin/skin_kit.h"

namespace skin {

namespace {

constexpr int kNone = -1;
constexpr int kInDialog = 0;  // a dialog's button: it sits on the dialog body

enum class Depth { None, Indexed8, Rgb24 };

struct FaceSet {
  const char* caption;  // "" for a picture only
  Glyph glyph;
  QSize size;
  int normal, pressed, hover, disabled;
  Depth disabled_depth;
  int control;  // the main window's control the button is, or kInDialog
};

// Dialog buttons keep the 50 by 14 dialog-unit size of their templates: 75 by 23 pixels.
// "Copy Code to Clipboard" needs twice that width for its words.
const QSize kDialogButton(75, 23);
const QSize kWideDialogButton(156, 23);

// clang-format off
const FaceSet kFaceSets[] = {
    {"Browse...", Glyph::None, {90, 28}, IDB_BROWSE, IDB_BROWSE_PRESSED, IDB_BROWSE_HOVER, kNone, Depth::None, IDC_BROWSE_VIDEO},
    {"Produce Web Page", Glyph::None, {166, 28}, IDB_PRODUCE, IDB_PRODUCE_PRESSED, IDB_PRODUCE_HOVER, kNone, Depth::None, IDC_PRODUCE_PAGE},
    {"Preview Web Page", Glyph::None, {166, 28}, IDB_PREVIEW, IDB_PREVIEW_PRESSED, IDB_PREVIEW_HOVER, IDB_PREVIEW_DISABLED, Depth::Rgb24, IDC_PREVIEW_PAGE},
    {"Open", Glyph::Folder, {50, 50}, IDB_OPEN, IDB_OPEN_PRESSED, IDB_OPEN_HOVER, kNone, Depth::None, IDC_OPEN},
    {"Save", Glyph::Disk, {50, 50}, IDB_SAVE, IDB_SAVE_PRESSED, IDB_SAVE_HOVER, kNone, Depth::None, IDC_SAVE},
    {"Save As", Glyph::DiskWithPencil, {50, 50}, IDB_SAVE_AS, IDB_SAVE_AS_PRESSED, IDB_SAVE_AS_HOVER, kNone, Depth::None, IDC_SAVE_AS},
    {"Help", Glyph::QuestionMark, {50, 50}, IDB_HELP, IDB_HELP_PRESSED, IDB_HELP_HOVER, kNone, Depth::None, IDC_HELP},
    {"", Glyph::LeftArrow, {32, 28}, IDB_BACK, IDB_BACK_PRESSED, IDB_BACK_HOVER, kNone, Depth::None, IDC_BACK},
    {"", Glyph::RightArrow, {32, 28}, IDB_NEXT, IDB_NEXT_PRESSED, IDB_NEXT_HOVER, kNone, Depth::None, IDC_NEXT},
    {"Exit", Glyph::RedCross, {50, 50}, IDB_EXIT, IDB_EXIT_PRESSED, IDB_EXIT_HOVER, kNone, Depth::None, IDC_EXIT},
    {"Customize Player...", Glyph::None, {172, 28}, IDB_CUSTOMIZE, IDB_CUSTOMIZE_PRESSED, IDB_CUSTOMIZE_HOVER, kNone, Depth::None, IDC_CUSTOMIZE_PLAYER},
    {"Get Code...", Glyph::None, {119, 28}, IDB_GET_CODE, IDB_GET_CODE_PRESSED, IDB_GET_CODE_HOVER, IDB_GET_CODE_DISABLED, Depth::Indexed8, IDC_GET_CODE},
    {"Start Encoding", Glyph::None, {138, 28}, IDB_START, IDB_START_PRESSED, IDB_START_HOVER, IDB_START_DISABLED, Depth::Indexed8, IDC_START_ENCODING},
    {"Stop Encoding", Glyph::None, {138, 28}, IDB_STOP, IDB_STOP_PRESSED, IDB_STOP_HOVER, kNone, Depth::None, IDC_START_ENCODING},
    {"Delete Preset", Glyph::None, {104, 28}, IDB_DELETE_PRESET, IDB_DELETE_PRESET_PRESSED, IDB_DELETE_PRESET_HOVER, IDB_DELETE_PRESET_DISABLED, Depth::Indexed8, IDC_DELETE_PRESET},
    {"Save Preset", Glyph::None, {104, 28}, IDB_ADD_PRESET, IDB_ADD_PRESET_PRESSED, IDB_ADD_PRESET_HOVER, IDB_ADD_PRESET_DISABLED, Depth::Indexed8, IDC_ADD_PRESET},
    {"Join Now", Glyph::None, {104, 28}, IDB_JOIN_NOW, IDB_JOIN_NOW_PRESSED, IDB_JOIN_NOW_HOVER, IDB_JOIN_NOW_DISABLED, Depth::Indexed8, IDC_JOIN_NOW},
    {"Advanced Options...", Glyph::None, {172, 28}, IDB_ADVANCED, IDB_ADVANCED_PRESSED, IDB_ADVANCED_HOVER, kNone, Depth::None, IDC_ADVANCED_OPTIONS},
    {"Convert", Glyph::None, kDialogButton, IDB_CONVERT, IDB_CONVERT_PRESSED, IDB_CONVERT_HOVER, IDB_CONVERT_DISABLED, Depth::Rgb24, kInDialog},
    {"Cancel", Glyph::None, kDialogButton, IDB_CANCEL, IDB_CANCEL_PRESSED, IDB_CANCEL_HOVER, kNone, Depth::None, kInDialog},
    {"Encode", Glyph::None, kDialogButton, IDB_ENCODE, IDB_ENCODE_PRESSED, IDB_ENCODE_HOVER, kNone, Depth::None, kInDialog},
    {"Copy Code to Clipboard", Glyph::None, kWideDialogButton, IDB_COPY, IDB_COPY_PRESSED, IDB_COPY_HOVER, kNone, Depth::None, kInDialog},
    {"Close", Glyph::None, kDialogButton, IDB_CLOSE, IDB_CLOSE_PRESSED, IDB_CLOSE_HOVER, kNone, Depth::None, kInDialog},
    {"OK", Glyph::None, kDialogButton, IDB_OK, IDB_OK_PRESSED, IDB_OK_HOVER, kNone, Depth::None, kInDialog},
};
// clang-format on

enum class Look { Normal, Hover, Pressed };

struct Tone {
  QColor top, bottom, border;
};
Tone ToneOf(Look look) {
  switch (look) {
    case Look::Normal:
      return {QColor(86, 152, 228), QColor(28, 86, 168), QColor(18, 54, 112)};
    case Look::Hover:
      return {QColor(112, 204, 94), QColor(36, 140, 44), QColor(22, 94, 28)};
    case Look::Pressed:
      return {QColor(28, 112, 34), QColor(74, 168, 62), QColor(16, 76, 22)};
  }
  return {};
}

QImage Background(const FaceSet& set, const std::array<QImage, 3>& pages) {
  if (set.control == kInDialog) return NewPicture(set.size, kPanelFill);
  const ControlTemplate* control = MainDialogTemplate().Find(set.control);
  const QImage& page = pages[control->page == 0 ? 0 : control->page - 1];
  return page.copy(QRect(control->rect.topLeft(), set.size));
}

// Every text button of one height uses one size, shrunk only where the words would not fit.
QFont CaptionFont(const FaceSet& set) {
  const int pixel_size = set.size.height() >= 28 ? 13 : 12;
  return FittingFont(set.caption, set.size.width() - 14, pixel_size, Weight::CondensedBold);
}

// The face's content: a glyph with a caption under it (50 by 50), a glyph alone (the arrows),
// or a caption alone.
void DrawContent(QPainter& p, const FaceSet& set, QPointF shift) {
  const qreal w = set.size.width(), h = set.size.height();
  if (set.glyph != Glyph::None && *set.caption) {
    DrawGlyph(p, set.glyph, QRectF(12, 4, 26, 26).translated(shift));
    p.setFont(FittingFont(set.caption, int(w) - 6, 12, Weight::CondensedBold));
    DrawShadowedText(p, QRectF(0, 31, w, 15).translated(shift), Qt::AlignCenter, set.caption,
                     Qt::white, QColor(0, 0, 0, 110));
  } else if (set.glyph != Glyph::None) {
    const qreal side = h - 2;
    DrawGlyph(p, set.glyph, QRectF((w - side) / 2, 1, side, side).translated(shift));
  } else {
    p.setFont(CaptionFont(set));
    DrawShadowedText(p, QRectF(0, 0, w, h - 1).translated(shift), Qt::AlignCenter, set.caption,
                     Qt::white, QColor(0, 0, 0, 120));
  }
}

QImage DrawFace(const FaceSet& set, const QImage& background, Look look) {
  QImage image = background;
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  const qreal radius = set.size.height() >= 50 ? 7 : 5;
  const QRectF body = QRectF(QPointF(0, 0), set.size).adjusted(0.5, 0.5, -0.5, -0.5);
  const QPainterPath shape = RoundedRect(body, radius);
  const Tone tone = ToneOf(look);

  p.setPen(QPen(tone.border, 1));
  p.setBrush(VerticalGradient(body, tone.top, tone.bottom));
  p.drawPath(shape);
  p.save();
  p.setClipPath(shape);
  if (look == Look::Pressed) {
    // Pushed in: a shadow along the top edge instead of the sheen.
    const QRectF shade(body.left(), body.top(), body.width(), 4);
    p.fillRect(shade, VerticalGradient(shade, QColor(0, 0, 0, 70), QColor(0, 0, 0, 0)));
  } else {
    const QRectF sheen = body.adjusted(1, 1, -1, -body.height() / 2);
    p.setPen(Qt::NoPen);
    p.setBrush(VerticalGradient(sheen, QColor(255, 255, 255, 88), QColor(255, 255, 255, 26)));
    p.drawPath(RoundedRect(sheen, radius - 1));
    p.setPen(QPen(QColor(255, 255, 255, 120), 1));
    p.drawLine(QPointF(radius, 1.5), QPointF(body.right() - radius + 0.5, 1.5));
  }
  p.restore();
  DrawContent(p, set, look == Look::Pressed ? QPointF(1, 1) : QPointF(0, 0));
  return image;
}

struct Greys {
  QColor shadow, face, light;
};

// The disabled face is drawn without smoothing, so that it holds only the three greys and the
// background, and an 8-bit copy keeps every grey exactly.
QImage DrawDisabledFace(const FaceSet& set, const QColor& background, const Greys& greys) {
  QImage image = NewPicture(set.size, background);
  QPainter p(&image);
  const int w = set.size.width(), h = set.size.height();
  p.setPen(greys.shadow);
  p.setBrush(greys.face);
  p.drawRoundedRect(QRect(0, 0, w - 1, h - 1), 4, 4);
  p.setPen(greys.light);
  p.drawLine(4, 1, w - 5, 1);
  p.drawLine(1, 4, 1, h - 5);
  QFont font = CaptionFont(set);
  font.setStyleStrategy(QFont::NoAntialias);
  p.setFont(font);
  p.setPen(greys.shadow);
  p.drawText(QRectF(0, 0, w, h - 1), Qt::AlignCenter, set.caption);
  return image;
}

// The 8-bit copy: its colour table holds exactly the colours drawn.
QImage ToIndexed(const QImage& image, const QList<QRgb>& table, QString* error) {
  QImage indexed(image.size(), QImage::Format_Indexed8);
  indexed.setColorTable(table);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const qsizetype entry = table.indexOf(image.pixel(x, y) | 0xff000000);
      if (entry < 0) {
        *error = QStringLiteral("a disabled face holds a colour outside its table at %1,%2")
                     .arg(x)
                     .arg(y);
        return {};
      }
      indexed.setPixel(x, y, uint(entry));
    }
  }
  return indexed;
}

}  // namespace

std::vector<SkinBitmap> DrawButtonFaces(const std::array<QImage, 3>& pages, QString* error) {
  std::vector<SkinBitmap> faces;
  for (const FaceSet& set : kFaceSets) {
    const QImage background = Background(set, pages);
    faces.push_back({set.normal, DrawFace(set, background, Look::Normal)});
    faces.push_back({set.hover, DrawFace(set, background, Look::Hover)});
    faces.push_back({set.pressed, DrawFace(set, background, Look::Pressed)});
    // Disabled buttons sit on a plain panel or dialog body: one background colour.
    const QColor under = background.pixelColor(0, 0);
    if (set.disabled_depth == Depth::Rgb24) {
      const Greys greys{kMappedShadowGrey, kMappedFaceGrey, kMappedLightGrey};
      faces.push_back({set.disabled, DrawDisabledFace(set, under, greys)});
    } else if (set.disabled_depth == Depth::Indexed8) {
      const Greys greys{kShadowGrey, kFaceGrey, kLightGrey};
      const QList<QRgb> table{kShadowGrey.rgb(), kFaceGrey.rgb(), kLightGrey.rgb(), under.rgb()};
      QImage indexed = ToIndexed(DrawDisabledFace(set, under, greys), table, error);
      if (indexed.isNull()) return {};
      faces.push_back({set.disabled, indexed});
    }
  }
  return faces;
}

}  // namespace skin
