// The colours, fonts and drawing steps that every picture of the skin shares, so that pages,
// buttons and dialogs agree with each other.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <QString>

namespace skin {

// The frame of the window: logo strip, dialog headers.
inline const QColor kNavyTop{34, 72, 128};
inline const QColor kNavyBottom{16, 38, 78};
inline const QColor kAccent{96, 178, 240};
// Text drawn by the skin itself (headings, tab labels).
inline const QColor kInk{22, 44, 80};
inline const QColor kMutedInk{84, 104, 134};
// The page around the panels, the card the panels lie on, and the panels.
inline const QColor kPageTop{206, 219, 236};
inline const QColor kPageBottom{188, 204, 226};
inline const QColor kCard{232, 239, 248};
inline const QColor kLine{136, 162, 200};
// Panels, dialog bodies and the progress bar's background share this light fill, so black
// transparent labels read well on all of them and button corners match wherever they sit.
inline const QColor kPanelFill{247, 251, 255};
inline const QColor kHeadingTop{222, 234, 249};
inline const QColor kHeadingBottom{198, 217, 242};

// The 3D greys of the disabled 8-bit faces: shadow, face and light. The program replaces them
// with its palette's colours when it loads those faces.
inline const QColor kShadowGrey{128, 128, 128};
inline const QColor kFaceGrey{192, 192, 192};
inline const QColor kLightGrey{223, 223, 223};
// What those greys become under Qt's standard palette (dark, button, midlight): the 24-bit
// disabled faces use these, so they match the 8-bit ones beside them in the running program.
inline const QColor kMappedShadowGrey{159, 159, 159};
inline const QColor kMappedFaceGrey{239, 239, 239};
inline const QColor kMappedLightGrey{202, 202, 202};

// Loads DejaVu Sans (regular, bold, condensed bold) from `font_folder`; false with a reason
// when a file is missing, so the build stops instead of drawing with a stand-in font.
bool LoadFonts(const QString& font_folder, QString* error);

enum class Weight { Regular, Bold, CondensedBold };
QFont Font(int pixel_size, Weight weight = Weight::Bold);
// The font at `pixel_size`, made smaller until `text` fits into `width` pixels.
QFont FittingFont(const QString& text, int width, int pixel_size, Weight weight = Weight::Bold);

// A 24-bit picture (kept as RGB32 while drawing) filled with one colour.
QImage NewPicture(QSize size, const QColor& fill);

QLinearGradient VerticalGradient(const QRectF& rect, const QColor& top, const QColor& bottom);
QPainterPath RoundedRect(const QRectF& rect, qreal radius);
// A rectangle with only its top corners rounded.
QPainterPath TopRoundedRect(const QRectF& rect, qreal radius);

// Text with a one-pixel shadow or emboss behind it at `offset`.
void DrawShadowedText(QPainter& painter, const QRectF& rect, int flags, const QString& text,
                      const QColor& colour, const QColor& shadow, QPointF offset = {0, 1});

// The film-reel mark: a reel with five windows and a strip of film leaving it to the right.
// `light` draws it for a dark background (the logo strip, dialog headers), else for any other.
void DrawReelMark(QPainter& painter, const QRectF& box, bool light);

// The header band of the dialog backgrounds and the logo strip share this navy gradient with
// an accent line at its foot.
void DrawNavyBand(QPainter& painter, const QRectF& rect);

}  // namespace skin
