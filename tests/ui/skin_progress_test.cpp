#include "ui/skin_progress.h"

#include <gtest/gtest.h>

#include <QTest>

#include "res/bitmaps.h"
#include "res/resource.h"

namespace {

const QRgb kBackground = qRgb(247, 251, 255);
const QPoint kFillOrigin(4, 3);

class SkinProgressTest : public ::testing::Test {
 protected:
  void SetUp() override {
    frame_ = LoadBitmapResource(IDB_PROGRESS_FRAME).convertToFormat(QImage::Format_RGB32);
    fill_ = LoadBitmapResource(IDB_PROGRESS_FILL).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(fill_.width(), 259);
  }

  // The bar a little larger than its frame, so that the background shows round it.
  QImage Painted(int position) {
    CSkinProgress bar;
    bar.resize(frame_.width() + 6, frame_.height() + 4);
    bar.setValue(position);
    return bar.grab().toImage().convertToFormat(QImage::Format_RGB32);
  }

  // Pixels of the fill drawn from `fill_x` on, `width` columns, at the fill's place.
  void ExpectFill(const QImage& painted, int fill_x, int width) {
    for (int y = 0; y < fill_.height(); ++y)
      for (int i = 0; i < width; ++i)
        ASSERT_EQ(painted.pixel(kFillOrigin.x() + i, kFillOrigin.y() + y),
                  fill_.pixel(fill_x + i, y))
            << "column " << i << " row " << y;
  }

  void ExpectFrameFrom(const QImage& painted, int first_column) {
    for (int y = 0; y < frame_.height(); ++y)
      for (int x = first_column; x < frame_.width(); ++x)
        ASSERT_EQ(painted.pixel(x, y), frame_.pixel(x, y)) << x << "," << y;
  }

  QImage frame_;
  QImage fill_;
};

TEST_F(SkinProgressTest, FillWidthIsTruncated) {
  EXPECT_EQ(CSkinProgress::FillWidth(0, 259), 0);
  EXPECT_EQ(CSkinProgress::FillWidth(1, 259), 2);
  EXPECT_EQ(CSkinProgress::FillWidth(50, 259), 129);
  EXPECT_EQ(CSkinProgress::FillWidth(99, 259), 256);
  EXPECT_EQ(CSkinProgress::FillWidth(100, 259), 259);
}

TEST_F(SkinProgressTest, AtZeroOnlyTheFrameOnTheLightBackground) {
  const QImage painted = Painted(0);
  ExpectFrameFrom(painted, 0);
  for (int x = 0; x < painted.width(); ++x)
    EXPECT_EQ(painted.pixel(x, painted.height() - 1), kBackground);
  for (int y = 0; y < painted.height(); ++y)
    EXPECT_EQ(painted.pixel(painted.width() - 1, y), kBackground);
}

TEST_F(SkinProgressTest, AtFiftyTheRightHalfOfTheFillLeads) {
  const QImage painted = Painted(50);
  ExpectFill(painted, 259 - 129, 129);
  ExpectFrameFrom(painted, kFillOrigin.x() + 129);
}

TEST_F(SkinProgressTest, AtHundredTheWholeFill) {
  const QImage painted = Painted(100);
  ExpectFill(painted, 0, 259);
  EXPECT_EQ(painted.pixel(painted.width() - 1, 0), kBackground);
}

TEST_F(SkinProgressTest, RangeStaysZeroToHundred) {
  CSkinProgress bar;
  EXPECT_EQ(bar.minimum(), 0);
  EXPECT_EQ(bar.maximum(), 100);
  EXPECT_EQ(bar.value(), 0);
}

// A step of one from zero is two pixels of fill; the bar must show it at once.
TEST_F(SkinProgressTest, EverySmallStepRepaints) {
  CSkinProgress bar;
  bar.resize(frame_.size());
  bar.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
  int paints = 0;
  struct Counter : QObject {
    int* count;
    bool eventFilter(QObject*, QEvent* event) override {
      if (event->type() == QEvent::Paint) ++*count;
      return false;
    }
  } counter;
  counter.count = &paints;
  bar.installEventFilter(&counter);
  for (int position : {1, 2}) {
    paints = 0;
    bar.setValue(position);
    EXPECT_TRUE(QTest::qWaitFor([&] { return paints > 0; }, 2000)) << position;
  }
}

}  // namespace
