#include "ui/dialog_font.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <QTextLayout>
#include <QWidget>

#include "res/dialog_template.h"

namespace {

TEST(DialogFont, PointSizeKeepsThePixelHeight) {
  const struct {
    double dpi;
    int points;
  } cases[] = {
      {96, 8},  {120, 6}, {72, 11}, {144, 5}, {100, 8},  // 7.68: above one half rounds up
      {110, 7},                                          // 6.98
      {128, 6},                                          // exactly 6
      {512, 1},                                          // exactly 1.5: an exact half rounds down
      {192, 4},
  };
  for (const auto& c : cases) EXPECT_EQ(DialogFontPointSize(c.dpi), c.points) << c.dpi;
}

TEST(DialogFont, NoResolutionFallsBackToEightPoints) {
  EXPECT_EQ(DialogFontPointSize(0), 8);
  EXPECT_EQ(DialogFontPointSize(-96), 8);
}

TEST(DialogFont, AppliedToADialogAndItsChildren) {
  QWidget dialog;
  QWidget* child = new QWidget(&dialog);
  ApplyDialogFont(&dialog, 120);
  EXPECT_EQ(dialog.font().family(), "Microsoft Sans Serif");
  EXPECT_EQ(dialog.font().pointSize(), 6);
  EXPECT_EQ(child->font().pointSize(), 6);
}

// The templates' dialog units assume base units of 6 by 13 pixels at 96 DPI (the average width
// of the 52 letters, as dialogs measure it, and the line height): the dialog font must have them.
TEST(DialogFont, HasTheBaseUnitsTheTemplatesAssume) {
  QWidget dialog;
  ApplyDialogFont(&dialog, 96);
  const QFontMetrics metrics(dialog.font());
  const int letters =
      metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  EXPECT_EQ((letters / 26 + 1) / 2, 6) << letters;
  EXPECT_EQ(metrics.height(), 13);
  EXPECT_EQ(QFontInfo(dialog.font()).family(), "MS Sans Serif");
}

// The face joins "TM" into a trade mark sign: "Output HTML" must keep its four letters.
TEST(DialogFont, LettersAreNeverJoined) {
  QWidget dialog;
  ApplyDialogFont(&dialog, 96);
  for (const QString text : {"HTML", "Output HTML", "fi ffl TM"}) {
    QTextLayout layout(text, dialog.font());
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    qsizetype glyphs = 0;
    for (const QGlyphRun& run : layout.glyphRuns()) glyphs += run.glyphIndexes().size();
    EXPECT_EQ(glyphs, text.size()) << text.toStdString();
  }
}

TEST(DialogFont, DialogUnitsBecomePixels) {
  EXPECT_EQ(DialogUnitsToPixels(QRect(0, 0, 252, 55)), QRect(0, 0, 378, 89));
  // The Convert Video dialog's buttons: 50 by 14 units.
  EXPECT_EQ(DialogUnitsToPixels(QRect(202, 79, 50, 14)), QRect(303, 128, 75, 23));
  EXPECT_EQ(DialogUnitsToPixels(QRect(0, 0, 266, 180)).size(), QSize(399, 293));
}

}  // namespace
