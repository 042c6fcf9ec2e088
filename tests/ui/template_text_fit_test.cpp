// Every text a dialog template lays out fits its rectangle in the dialog font: static texts as
// they wrap, check boxes and radio buttons on one line beside their indicator.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QStyle>
#include <QWidget>

#include "res/advanced_template.h"
#include "res/convert_template.h"
#include "res/main_template.h"
#include "ui/dialog_font.h"

namespace {

// What does not fit, one line per text: its control, the room and what the text needs.
QStringList ClippedTexts(const DialogTemplate& layout, const QFont& font) {
  const QFontMetrics metrics(font);
  const QStyle* style = QApplication::style();
  QStringList clipped;
  for (const ControlTemplate& control : layout.controls) {
    QString text = QString::fromUtf8(control.caption);
    text.remove(u'&');
    if (text.isEmpty()) continue;
    QSize needed;
    switch (control.kind) {
      case ControlKind::Label:
        needed = metrics
                     .boundingRect(QRect(0, 0, control.rect.width(), 10000),
                                   Qt::AlignLeft | Qt::TextWordWrap, text)
                     .size();
        break;
      case ControlKind::CheckBox:
      case ControlKind::RadioButton: {
        const bool check = control.kind == ControlKind::CheckBox;
        const int indicator = style->pixelMetric(check ? QStyle::PM_IndicatorWidth
                                                       : QStyle::PM_ExclusiveIndicatorWidth) +
                              style->pixelMetric(check ? QStyle::PM_CheckBoxLabelSpacing
                                                       : QStyle::PM_RadioButtonLabelSpacing);
        needed = QSize(indicator + metrics.horizontalAdvance(text), metrics.height());
        break;
      }
      default:
        continue;  // skinned buttons show their caption in their bitmaps
    }
    if (needed.width() > control.rect.width() || needed.height() > control.rect.height())
      clipped << QStringLiteral("%1: room %2x%3, needs %4x%5")
                     .arg(control.name)
                     .arg(control.rect.width())
                     .arg(control.rect.height())
                     .arg(needed.width())
                     .arg(needed.height());
  }
  return clipped;
}

TEST(TemplateTextFit, EveryTemplateTextFitsItsRectangleInTheDialogFont) {
  QWidget dialog;
  ApplyDialogFont(&dialog, 96);
  // The fallback faces (DejaVu Sans, Liberation Sans) are wider or shorter than the face the
  // templates were made for: in DejaVu Sans the Convert Video note takes three lines.
  for (const DialogTemplate* layout :
       {&MainDialogTemplate(), &ConvertVideoTemplate(), &AdvancedOptionsTemplate()}) {
    const QStringList clipped = ClippedTexts(*layout, dialog.font());
    EXPECT_TRUE(clipped.isEmpty()) << layout->caption.toStdString() << " in "
                                   << QFontInfo(dialog.font()).family().toStdString() << ":\n"
                                   << clipped.join('\n').toStdString();
  }
}

// On a 2x (or 1.5x) screen the dialogs take a scalable face instead of the bitmap one, and the
// texts still fit.
TEST(TemplateTextFit, OnAHighDensityScreenAScalableFaceStillFits) {
  for (const double ratio : {1.5, 2.0}) {
    const QFont font = DialogFont(96, ratio);
    const QFontInfo info(font);
    EXPECT_EQ(info.family(), "DejaVu Sans Condensed") << ratio;
    EXPECT_TRUE(QFontDatabase::isSmoothlyScalable(info.family(), info.styleName())) << ratio;
    for (const DialogTemplate* layout :
         {&MainDialogTemplate(), &ConvertVideoTemplate(), &AdvancedOptionsTemplate()}) {
      const QStringList clipped = ClippedTexts(*layout, font);
      EXPECT_TRUE(clipped.isEmpty()) << layout->caption.toStdString() << " at " << ratio << ":\n"
                                     << clipped.join('\n').toStdString();
    }
  }
}

}  // namespace

