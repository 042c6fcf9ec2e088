// What a person sees: the pages, the About box and a Browse button in its four states, painted
// offscreen. With REELWRIGHT_SCREENSHOT_DIR set (scripts/screenshots does that) the pictures are
// kept there as PNG files to look at.
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>

#include "app/about_dialog.h"
#include "main_window_fixture.h"
#include "publish/get_code_dialog.h"
#include "res/bitmaps.h"
#include "ui/skin_button.h"

namespace {

void Keep(const QImage& image, const QString& name) {
  const QString folder = qEnvironmentVariable("REELWRIGHT_SCREENSHOT_DIR");
  if (!folder.isEmpty()) image.save(QDir(folder).filePath(name));
}

TEST_F(MainWindowTest, ScreenshotsOfThePagesShowThePageBitmapAroundTheControls) {
  for (int page : {1, 2, 3}) {
    dialog->GoToPage(page);
    const QImage shot =
        dialog->ClientArea()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage bitmap =
        LoadBitmapResource(dialog->State().background_id).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shot.size(), QSize(540, 530));
    ASSERT_EQ(bitmap.size(), QSize(540, 530));
    // The logo strip and the tabs have no controls over them: they are the bitmap itself.
    for (QPoint p : {QPoint(5, 5), QPoint(270, 30), QPoint(60 + 104 * (page - 1), 80)})
      EXPECT_EQ(shot.pixel(p), bitmap.pixel(p)) << page << " " << p.x() << "," << p.y();
    Keep(dialog->grab().toImage(), QString("page%1.png").arg(page));
  }
}

// A dark desktop: light text on dark windows, buttons and edits.
QPalette DarkDesktopPalette() {
  QPalette dark(QColor(55, 55, 60), QColor(40, 40, 44));  // button, window
  for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
    dark.setColor(role, QColor(235, 235, 235));
  dark.setColor(QPalette::Base, QColor(30, 30, 33));
  dark.setColor(QPalette::Dark, QColor(20, 20, 22));
  dark.setColor(QPalette::Midlight, QColor(70, 70, 75));
  return dark;
}

// Every page of the window, and the Get Code dialog, as they are painted.
std::vector<QImage> SkinnedShots(CMainDialog& dialog) {
  std::vector<QImage> shots;
  for (int page : {1, 2, 3}) {
    dialog.GoToPage(page);
    shots.push_back(dialog.grab().toImage().convertToFormat(QImage::Format_RGB32));
  }
  CGetCodeDialog code(&dialog, "<object></object>");
  code.Create(96);
  shots.push_back(code.grab().toImage().convertToFormat(QImage::Format_RGB32));
  return shots;
}

// The skinned windows wear colours of their own, drawn for their light bitmaps: on a dark
// desktop they look exactly as on a light one, with dark text and grey disabled faces. A message
// box is the desktop's and follows it.
TEST_F(MainWindowTest, OnADarkDesktopTheSkinnedWindowsLookAsOnALightOne) {
  const std::vector<QImage> light = SkinnedShots(*dialog);
  const QPalette desktop = QApplication::palette();
  QApplication::setPalette(DarkDesktopPalette());
  Start();
  const std::vector<QImage> dark = SkinnedShots(*dialog);
  EXPECT_LT(control(IDC_LABEL_INPUT_VIDEO)->palette().color(QPalette::WindowText).lightness(), 60);
  EXPECT_FALSE(button(IDC_START_ENCODING)->isEnabled());
  QMessageBox box(QMessageBox::Information, "Reelwright", "Done", QMessageBox::Ok, dialog.get());
  EXPECT_EQ(box.palette().color(QPalette::Window), DarkDesktopPalette().color(QPalette::Window));
  QApplication::setPalette(desktop);

  ASSERT_EQ(dark.size(), light.size());
  for (size_t i = 0; i < light.size(); ++i) {
    EXPECT_TRUE(dark[i] == light[i]) << "shot " << i;
    Keep(dark[i], QString("dark%1.png").arg(i + 1));
  }
}

TEST(Screenshots, AboutBox) {
  CAboutDialog about(nullptr, 96);
  const QImage shot = about.grab().toImage();
  EXPECT_EQ(shot.size(), about.size());
  Keep(shot, "about.png");
}

TEST(Screenshots, BrowseButtonInItsFourStates) {
  QWidget strip;
  strip.resize(4 * 100, 36);
  QList<CSkinButton*> buttons;
  for (int i = 0; i < 4; ++i) {
    auto* button = new CSkinButton(&strip);
    button->move(5 + 100 * i, 4);
    button->SetBitmaps(IDB_BROWSE, IDB_BROWSE_PRESSED, IDB_BROWSE_HOVER, -1);
    buttons << button;
  }
  strip.show();
  QTest::mouseMove(buttons[1], QPoint(10, 10));
  QTRY_VERIFY(buttons[1]->hover());
  buttons[2]->setDown(true);
  buttons[3]->setEnabled(false);
  const int faces[] = {IDB_BROWSE, IDB_BROWSE_HOVER, IDB_BROWSE_PRESSED, IDB_BROWSE};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(buttons[i]->CurrentFaceId(), faces[i]) << i;
  Keep(strip.grab().toImage(), "browse-states.png");
}

}  // namespace
