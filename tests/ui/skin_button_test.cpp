#include "ui/skin_button.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTest>
#include <QWidget>

#include "res/bitmaps.h"
#include "res/resource.h"

namespace {

// With REELWRIGHT_SCREENSHOT_DIR set the picture is kept there to look at.
void Keep(const QImage& image, const QString& name) {
  const QString folder = qEnvironmentVariable("REELWRIGHT_SCREENSHOT_DIR");
  if (!folder.isEmpty()) image.save(QDir(folder).filePath(name));
}

// A window with one skinned button at (40, 30) and room around it for the mouse to leave.
class SkinButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_.resize(300, 160);
    button_ = new CSkinButton(&window_);
    button_->move(40, 30);
  }

  void Show() {
    window_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
  }

  QPoint Inside() const { return button_->rect().center(); }
  void MoveOnto() { QTest::mouseMove(button_, Inside()); }
  void MoveAway() { QTest::mouseMove(&window_, QPoint(5, 5)); }
  bool ShowsSoon(int id) {
    return QTest::qWaitFor([&] { return button_->CurrentFaceId() == id; }, 2000);
  }

  // What the button paints is the bitmap of the face it reports.
  void ExpectPainted(int id) {
    const QImage painted = button_->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage face =
        LoadBitmapResourceMapped(id, button_->palette()).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(painted, face) << "face " << id;
  }

  QWidget window_;
  CSkinButton* button_ = nullptr;
};

TEST_F(SkinButtonTest, TakesTheSizeOfItsBitmapsAndKeepsItsPlace) {
  button_->resize(10, 10);
  button_->SetBitmaps(IDB_BROWSE, IDB_BROWSE_PRESSED, IDB_BROWSE_HOVER, -1);
  EXPECT_EQ(button_->geometry(), QRect(40, 30, 90, 28));
  EXPECT_EQ(button_->CurrentFaceId(), IDB_BROWSE);
}

TEST_F(SkinButtonTest, HoverPressAndLeaveChangeTheFace) {
  button_->SetBitmaps(IDB_BROWSE, IDB_BROWSE_PRESSED, IDB_BROWSE_HOVER, -1);
  Show();
  ExpectPainted(IDB_BROWSE);

  MoveOnto();
  ASSERT_TRUE(ShowsSoon(IDB_BROWSE_HOVER));
  ExpectPainted(IDB_BROWSE_HOVER);

  QTest::mousePress(button_, Qt::LeftButton, {}, Inside());
  EXPECT_EQ(button_->CurrentFaceId(), IDB_BROWSE_PRESSED);
  ExpectPainted(IDB_BROWSE_PRESSED);

  QTest::mouseRelease(button_, Qt::LeftButton, {}, Inside());
  EXPECT_EQ(button_->CurrentFaceId(), IDB_BROWSE_HOVER);

  MoveAway();
  EXPECT_EQ(button_->CurrentFaceId(), IDB_BROWSE);
  EXPECT_FALSE(button_->hover());
}

TEST_F(SkinButtonTest, ClickStillClicks) {
  button_->SetBitmaps(IDB_BROWSE, IDB_BROWSE_PRESSED, IDB_BROWSE_HOVER, -1);
  Show();
  int clicks = 0;
  QObject::connect(button_, &QAbstractButton::clicked, [&] { ++clicks; });
  QTest::mouseClick(button_, Qt::LeftButton, {}, Inside());
  EXPECT_EQ(clicks, 1);
}

TEST_F(SkinButtonTest, DisabledShowsItsDisabledFaceWhateverTheMouseDoes) {
  button_->SetBitmaps(IDB_START, IDB_START_PRESSED, IDB_START_HOVER, IDB_START_DISABLED);
  Show();
  button_->setEnabled(false);
  EXPECT_EQ(button_->CurrentFaceId(), IDB_START_DISABLED);
  ExpectPainted(IDB_START_DISABLED);

  MoveOnto();
  QTest::mousePress(button_, Qt::LeftButton, {}, Inside());
  QTest::qWait(20);
  EXPECT_EQ(button_->CurrentFaceId(), IDB_START_DISABLED);
  QTest::mouseRelease(button_, Qt::LeftButton, {}, Inside());
  MoveAway();
  EXPECT_EQ(button_->CurrentFaceId(), IDB_START_DISABLED);
}

TEST_F(SkinButtonTest, EnabledAgainShowsNormalUntilTheMouseRestsOnIt) {
  button_->SetBitmaps(IDB_START, IDB_START_PRESSED, IDB_START_HOVER, IDB_START_DISABLED);
  Show();
  MoveOnto();
  ASSERT_TRUE(ShowsSoon(IDB_START_HOVER));

  button_->setEnabled(false);
  button_->setEnabled(true);
  EXPECT_EQ(button_->CurrentFaceId(), IDB_START);

  QTest::mouseMove(button_, Inside() + QPoint(1, 0));
  EXPECT_TRUE(ShowsSoon(IDB_START_HOVER));
}

TEST_F(SkinButtonTest, WithoutADisabledBitmapADisabledButtonKeepsItsNormalFace) {
  button_->SetBitmaps(IDB_BROWSE, IDB_BROWSE_PRESSED, IDB_BROWSE_HOVER, -1);
  Show();
  button_->setEnabled(false);
  EXPECT_EQ(button_->CurrentFaceId(), IDB_BROWSE);
}

TEST_F(SkinButtonTest, ADisabledParentWindowLeavesTheFaceAlone) {
  button_->SetBitmaps(IDB_START, IDB_START_PRESSED, IDB_START_HOVER, IDB_START_DISABLED);
  Show();
  window_.setEnabled(false);
  EXPECT_EQ(button_->CurrentFaceId(), IDB_START);
  window_.setEnabled(true);

  MoveOnto();
  ASSERT_TRUE(ShowsSoon(IDB_START_HOVER));
  window_.setEnabled(false);
  EXPECT_EQ(button_->CurrentFaceId(), IDB_START_HOVER);
}

TEST_F(SkinButtonTest, ATickWithOnlyItsPictureNeverChanges) {
  button_->SetBitmaps(IDB_TICK, -1, -1, -1);
  Show();
  EXPECT_EQ(button_->size(), QSize(32, 32));
  MoveOnto();
  QTest::qWait(20);
  EXPECT_EQ(button_->CurrentFaceId(), IDB_TICK);
  QTest::mousePress(button_, Qt::LeftButton, {}, Inside());
  EXPECT_EQ(button_->CurrentFaceId(), IDB_TICK);
  QTest::mouseRelease(button_, Qt::LeftButton, {}, Inside());
  button_->setEnabled(false);
  EXPECT_EQ(button_->CurrentFaceId(), IDB_TICK);
  ExpectPainted(IDB_TICK);
}

TEST_F(SkinButtonTest, EightBitFacesFollowThePalette) {
  QPalette palette = button_->palette();
  palette.setColor(QPalette::Button, QColor(200, 40, 40));
  button_->setPalette(palette);
  button_->SetBitmaps(IDB_START, IDB_START_PRESSED, IDB_START_HOVER, IDB_START_DISABLED);
  button_->setEnabled(false);
  Show();
  // The middle of the face is its face grey, which became the palette's button colour.
  const QImage painted = button_->grab().toImage();
  EXPECT_EQ(painted.pixelColor(3, 20), QColor(200, 40, 40));
}

// The dotted mark: the face's pixels differ from the bitmap only on a rectangle inside the face.
TEST_F(SkinButtonTest, AFocusFromTheKeyboardIsMarkedAndAClickIsNot) {
  button_->SetBitmaps(IDB_BROWSE, IDB_BROWSE_PRESSED, IDB_BROWSE_HOVER, -1);
  auto* before = new QWidget(&window_);
  before->setFocusPolicy(Qt::StrongFocus);
  before->setGeometry(5, 100, 20, 20);
  QWidget::setTabOrder(before, button_);
  Show();
  window_.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
  before->setFocus(Qt::OtherFocusReason);

  QTest::keyClick(before, Qt::Key_Tab);
  ASSERT_TRUE(button_->hasFocus());
  EXPECT_TRUE(button_->ShowsFocusMark());
  const QImage face = LoadBitmapResourceMapped(IDB_BROWSE, button_->palette())
                          .convertToFormat(QImage::Format_RGB32);
  const QImage marked = button_->grab().toImage().convertToFormat(QImage::Format_RGB32);
  Keep(marked, "browse_keyboard_focus.png");
  int changed_inside = 0;
  for (int y = 0; y < face.height(); ++y) {
    for (int x = 0; x < face.width(); ++x) {
      if (marked.pixel(x, y) == face.pixel(x, y)) continue;
      const bool on_mark = (x == 3 || y == 3 || x == face.width() - 4 || y == face.height() - 4) &&
                           x >= 3 && y >= 3 && x <= face.width() - 4 && y <= face.height() - 4;
      EXPECT_TRUE(on_mark) << x << "," << y;
      ++changed_inside;
    }
  }
  // Dotted: about every other pixel of the rectangle's edge.
  const int edge = 2 * (face.width() - 7) + 2 * (face.height() - 7);
  EXPECT_GT(changed_inside, edge / 4);
  EXPECT_LT(changed_inside, edge);

  // Space and Enter press it.
  int clicks = 0;
  QObject::connect(button_, &QAbstractButton::clicked, [&] { ++clicks; });
  QTest::keyClick(button_, Qt::Key_Space);
  QTest::keyClick(button_, Qt::Key_Return);
  QTest::keyClick(button_, Qt::Key_Enter);
  EXPECT_EQ(clicks, 3);

  // Focus leaves: no mark. A click leaves no mark either, even where a click gives the focus.
  before->setFocus(Qt::OtherFocusReason);
  ExpectPainted(IDB_BROWSE);
  button_->setFocusPolicy(Qt::StrongFocus);
  QTest::mouseClick(button_, Qt::LeftButton, {}, Inside());
  MoveAway();
  ASSERT_TRUE(button_->hasFocus());
  EXPECT_FALSE(button_->ShowsFocusMark());
  ExpectPainted(IDB_BROWSE);
}

}  // namespace
