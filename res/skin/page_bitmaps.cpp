#include "res/skin/page_bitmaps.h"

#include <QFontMetrics>

#include "res/main_template.h"
#include "res/resource.h"
#include "res/skin/skin_kit.h"

namespace skin {

namespace {

constexpr int kCardTop = 96;  // the tabs stand on the card's top edge
constexpr int kCardBottom = 453;
constexpr int kHeadingHeight = 22;

struct PageText {
  const char* step;
  const char* action;
};
const PageText kPageTexts[] = {
    {"Step 1 of 3", "Choose your video"},
    {"Step 2 of 3", "Encode it to Flash"},
    {"Step 3 of 3", "Publish the web page"},
};

void DrawLogoStrip(QPainter& p) {
  const QRectF strip = MainDialogLogoStrip();
  DrawNavyBand(p, strip);
  // A film strip fading in toward the right edge.
  QLinearGradient fade(QPointF(300, 0), QPointF(540, 0));
  fade.setColorAt(0, QColor(255, 255, 255, 0));
  fade.setColorAt(1, QColor(255, 255, 255, 40));
  const QRectF film(300, 14, 240, 34);
  p.fillRect(film, fade);
  for (int x = 306; x < 540; x += 12) {
    const int alpha = 10 + (x - 300) * 60 / 240;
    p.fillRect(QRectF(x, 17, 6, 5), QColor(16, 38, 78, alpha * 2));
    p.fillRect(QRectF(x, 40, 6, 5), QColor(16, 38, 78, alpha * 2));
  }
  DrawReelMark(p, QRectF(14, 8, 62, 48), true);
  p.setFont(Font(30, Weight::Bold));
  DrawShadowedText(p, QRectF(84, 5, 300, 36), Qt::AlignLeft | Qt::AlignVCenter, "Reelwright",
                   Qt::white, QColor(0, 0, 0, 90), {1, 2});
  p.setFont(Font(12, Weight::Regular));
  p.setPen(QColor(178, 210, 246));
  p.drawText(QRectF(86, 38, 300, 18), Qt::AlignLeft | Qt::AlignVCenter,
             "Video to Flash, one page at a time");
}

void DrawCard(QPainter& p) {
  const QRectF card(12.5, kCardTop + 0.5, 515, kCardBottom - kCardTop);
  p.setPen(QPen(kLine, 1));
  p.setBrush(kCard);
  p.drawPath(RoundedRect(card, 6));
  // Square top corners, so the first tab meets the card cleanly.
  p.fillRect(QRectF(13, kCardTop + 1, 514, 8), kCard);
  p.setPen(kLine);
  p.drawLine(QPointF(12.5, kCardTop + 0.5), QPointF(527.5, kCardTop + 0.5));
  p.drawLine(QPointF(12.5, kCardTop + 0.5), QPointF(12.5, kCardTop + 9));
  p.drawLine(QPointF(527.5, kCardTop + 0.5), QPointF(527.5, kCardTop + 9));
}

void DrawTab(QPainter& p, int tab, bool active) {
  const QRect area = MainDialogTabRect(tab);
  const qreal top = active ? area.top() + 0.5 : area.top() + 4.5;
  const QRectF shape(area.left() + 1.5, top, area.width() - 3, kCardTop + 0.5 - top);
  p.setPen(QPen(kLine, 1));
  if (active)
    p.setBrush(VerticalGradient(shape, QColor(252, 254, 255), kCard));
  else
    p.setBrush(VerticalGradient(shape, QColor(218, 229, 243), QColor(196, 211, 232)));
  p.drawPath(TopRoundedRect(shape, 6));
  if (active) {
    // The raised tab opens into the card below it.
    p.setPen(QPen(kCard, 1, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(area.left() + 2, kCardTop + 0.5), QPointF(area.right() - 1, kCardTop + 0.5));
  }

  const QString label = QStringLiteral("Step %1").arg(tab);
  const QFont font = Font(13, Weight::Bold);
  p.setFont(font);
  const int text_width = QFontMetrics(font).horizontalAdvance(label);
  const int arrow_width = active ? 12 : 0;
  const qreal left = area.left() + (area.width() - text_width - arrow_width) / 2.0;
  const QRectF text_box(left + arrow_width, shape.top(), text_width + 2, shape.height());
  if (active) {
    const qreal mid = shape.center().y();
    const QPolygonF arrow({{left, mid - 5}, {left + 7, mid}, {left, mid + 5}});
    p.setPen(QPen(QColor(24, 110, 30), 1));
    p.setBrush(VerticalGradient(arrow.boundingRect(), QColor(130, 220, 90), QColor(40, 150, 44)));
    p.drawPolygon(arrow);
    DrawShadowedText(p, text_box, Qt::AlignLeft | Qt::AlignVCenter, label, kInk, Qt::white);
  } else {
    DrawShadowedText(p, text_box, Qt::AlignLeft | Qt::AlignVCenter, label, kMutedInk,
                     QColor(255, 255, 255, 150));
  }
}

void DrawPanel(QPainter& p, const PanelTemplate& panel) {
  const QRectF frame = QRectF(panel.rect).adjusted(0.5, 0.5, -0.5, -0.5);
  const QPainterPath outline = RoundedRect(frame, 5);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(40, 70, 120, 18));
  p.drawPath(RoundedRect(frame.translated(0, 1.5), 5));
  p.setBrush(kPanelFill);
  p.drawPath(outline);

  const QRectF band(frame.left(), frame.top(), frame.width(), kHeadingHeight);
  p.save();
  p.setClipPath(outline);
  p.fillRect(band, VerticalGradient(band, kHeadingTop, kHeadingBottom));
  p.restore();
  p.setPen(QColor(168, 192, 226));
  p.drawLine(QPointF(frame.left(), band.bottom()), QPointF(frame.right(), band.bottom()));
  p.setPen(QPen(kLine, 1));
  p.setBrush(Qt::NoBrush);
  p.drawPath(outline);

  p.setPen(Qt::NoPen);
  p.setBrush(kAccent.darker(125));
  p.drawRoundedRect(QRectF(frame.left() + 8, band.top() + 6, 3, band.height() - 11), 1.5, 1.5);
  p.setFont(Font(12, Weight::Bold));
  DrawShadowedText(p, band.adjusted(17, 0, -8, 0), Qt::AlignLeft | Qt::AlignVCenter, panel.heading,
                   kInk, QColor(255, 255, 255, 180));
}

// Page 3: a frame round the player's picture with a placeholder behind it, and a rule between
// the player column and the options column.
void DrawPlayerCorner(QPainter& p) {
  const QRect picture = MainDialogTemplate().Find(IDC_PLAYER_PREVIEW)->rect;
  const QRectF screen(picture);
  p.fillRect(screen, VerticalGradient(screen, QColor(58, 74, 100), QColor(28, 38, 56)));
  p.setPen(QPen(kLine, 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(screen.adjusted(-0.5, -0.5, 0.5, 0.5));
  DrawReelMark(p, QRectF(screen.center().x() - 26, screen.top() + 22, 52, 40), true);
  p.setFont(Font(11, Weight::Regular));
  p.setPen(QColor(176, 198, 228));
  p.drawText(QRectF(screen.left(), screen.bottom() - 26, screen.width(), 20), Qt::AlignCenter,
             "Player preview");

  p.setPen(QColor(206, 220, 238));
  p.drawLine(QPointF(221.5, 166), QPointF(221.5, 360));
}

void DrawBottomBar(QPainter& p, int page) {
  const QRectF bar = MainDialogBottomBar();
  p.fillRect(bar, VerticalGradient(bar, QColor(214, 225, 241), QColor(182, 199, 224)));
  p.setPen(kLine);
  p.drawLine(QPointF(bar.left(), bar.top() + 0.5), QPointF(bar.right(), bar.top() + 0.5));
  p.setPen(QColor(255, 255, 255, 170));
  p.drawLine(QPointF(bar.left(), bar.top() + 1.5), QPointF(bar.right(), bar.top() + 1.5));

  // Between Save As and the arrows: where the user is.
  const QRectF middle(186, bar.top() + 14, 142, 44);
  const PageText& text = kPageTexts[page - 1];
  p.setFont(FittingFont(text.step, int(middle.width()), 13, Weight::Bold));
  DrawShadowedText(p, QRectF(middle.left(), middle.top(), middle.width(), 20), Qt::AlignCenter,
                   text.step, kInk, QColor(255, 255, 255, 170));
  p.setFont(FittingFont(text.action, int(middle.width()), 12, Weight::Regular));
  DrawShadowedText(p, QRectF(middle.left(), middle.top() + 20, middle.width(), 20), Qt::AlignCenter,
                   text.action, kMutedInk, QColor(255, 255, 255, 140));
}

}  // namespace

QImage DrawPage(int page) {
  QImage image = NewPicture(QSize(540, 530), kPageTop);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.fillRect(image.rect(), VerticalGradient(image.rect(), kPageTop, kPageBottom));

  DrawLogoStrip(p);
  DrawCard(p);
  for (int tab = 1; tab <= 3; ++tab)
    if (tab != page) DrawTab(p, tab, false);
  DrawTab(p, page, true);
  for (const PanelTemplate& panel : MainDialogPanels())
    if (panel.page == page) DrawPanel(p, panel);
  if (page == 3) DrawPlayerCorner(p);
  DrawBottomBar(p, page);
  return image;
}

}  // namespace skin
