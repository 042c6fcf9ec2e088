#include "app/about_dialog.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

QString LabelText(const QDialog& dialog, const char* name) {
  const QLabel* label = dialog.findChild<QLabel*>(name);
  return label ? label->text() : QString("<no label %1>").arg(name);
}

TEST(AboutDialog, ShowsTheVersionAndOurLine) {
  CAboutDialog dialog(nullptr, 96);
  EXPECT_EQ(dialog.windowTitle(), "About Reelwright");
  EXPECT_EQ(LabelText(dialog, "IDC_VERSION"), "Reelwright Version 1.04");
  EXPECT_EQ(LabelText(dialog, "IDC_ABOUT_LINE"), "Your video on a web page in three steps.");
  EXPECT_TRUE(LabelText(dialog, "IDC_CREDITS").contains("version 3 or later"));
  const QLabel* icon = dialog.findChild<QLabel*>("IDR_MAINFRAME");
  ASSERT_NE(icon, nullptr);
  EXPECT_FALSE(icon->pixmap().isNull());
  EXPECT_LT(icon->geometry().right(), dialog.findChild<QLabel*>("IDC_VERSION")->x());
}

// The size is in pixels, whatever the resolution; what the resolution changes is the font's
// point size, chosen so that the text is about as many pixels high on that screen as at 96 DPI
// (8 points there: 10.7 pixels), and so stays inside the fixed rectangles.
TEST(AboutDialog, KeepsItsPixelSizeAndTextHeightAtEveryResolution) {
  for (double dpi : {72.0, 96.0, 120.0, 144.0}) {
    CAboutDialog dialog(nullptr, dpi);
    EXPECT_EQ(dialog.size(), QSize(378, 143)) << dpi;
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    const double pixels_high = dialog.font().pointSizeF() * dpi / 72;
    EXPECT_GE(pixels_high, 10.0) << dpi;
    EXPECT_LE(pixels_high, 11.0) << dpi;
  }
  // At the resolution the tests run at, the texts fit their labels in that font.
  CAboutDialog dialog(nullptr, 96);
  for (const QLabel* label : dialog.findChildren<QLabel*>()) {
    if (label->text().isEmpty()) continue;
    if (label->wordWrap()) {  // the credits: their lines fit the label's height
      EXPECT_LE(label->heightForWidth(label->width()), label->height());
      continue;
    }
    EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(label->text()), label->width())
        << label->objectName().toStdString();
  }
}

TEST(AboutDialog, UsesTheDialogFontForTheScreen) {
  const struct {
    double dpi;
    int points;
  } cases[] = {{72, 11}, {96, 8}, {120, 6}};
  for (const auto& c : cases) {
    CAboutDialog dialog(nullptr, c.dpi);
    EXPECT_EQ(dialog.font().family(), "Microsoft Sans Serif");
    EXPECT_EQ(dialog.font().pointSize(), c.points) << c.dpi;
    EXPECT_EQ(dialog.findChild<QLabel*>("IDC_VERSION")->font().pointSize(), c.points);
  }
}

TEST(AboutDialog, OkIsTheDefaultAndCloses) {
  CAboutDialog dialog(nullptr, 96);
  QPushButton* ok = dialog.findChild<QPushButton*>("IDOK");
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(ok->text(), "OK");
  EXPECT_TRUE(ok->isDefault());

  QTimer safety;
  safety.setSingleShot(true);
  QObject::connect(&safety, &QTimer::timeout, &dialog, &QDialog::reject);
  safety.start(5000);
  QTimer::singleShot(0, ok, [ok] { QTest::mouseClick(ok, Qt::LeftButton); });
  EXPECT_EQ(dialog.exec(), QDialog::Accepted);
}

TEST(AboutDialog, EnterClosesItToo) {
  CAboutDialog dialog(nullptr, 96);
  dialog.open();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  QTest::keyClick(&dialog, Qt::Key_Return);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog.isVisible(); }, 2000));
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

}  // namespace
