#include "ui/control_group.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

namespace {

// A window with a field, two radio buttons and another field, in that tab order.
class ControlGroupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_.resize(300, 200);
    before_ = new QLineEdit(&window_);
    before_->setGeometry(10, 10, 100, 20);
    mono_ = new QRadioButton("Mono", &window_);
    mono_->setGeometry(20, 60, 80, 20);
    stereo_ = new QRadioButton("Stereo", &window_);
    stereo_->setGeometry(120, 64, 80, 20);
    after_ = new QLineEdit(&window_);
    after_->setGeometry(10, 120, 100, 20);
  }

  QWidget window_;
  QLineEdit* before_;
  QRadioButton* mono_;
  QRadioButton* stereo_;
  QLineEdit* after_;
};

TEST_F(ControlGroupTest, MembersKeepTheirPlacesOnScreenAndInTheTabOrder) {
  CControlGroup* group = GroupControls({mono_, stereo_}, QAccessible::Grouping, "Audio Channels");
  window_.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));

  EXPECT_EQ(group->accessibleName(), "Audio Channels");
  EXPECT_EQ(group->geometry(), QRect(20, 60, 180, 24));
  EXPECT_EQ(QRect(mono_->mapTo(&window_, QPoint()), mono_->size()), QRect(20, 60, 80, 20));
  EXPECT_EQ(QRect(stereo_->mapTo(&window_, QPoint()), stereo_->size()), QRect(120, 64, 80, 20));
  EXPECT_EQ(CControlGroup::LaidOutOn(stereo_), &window_);

  before_->setFocus(Qt::TabFocusReason);
  QList<QWidget*> walked;
  for (int i = 0; i < 3; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    walked << QApplication::focusWidget();
  }
  // Tab stops at one radio button of a group of them: the checked one, or the first.
  EXPECT_EQ(walked, (QList<QWidget*>{mono_, after_, before_}));
}

TEST_F(ControlGroupTest, TheGroupShowsWhileAnyMemberDoes) {
  stereo_->hide();
  CControlGroup* group = GroupControls({mono_, stereo_}, QAccessible::Grouping, "Audio Channels");
  window_.show();
  EXPECT_TRUE(group->isVisible());
  EXPECT_TRUE(mono_->isVisible());
  EXPECT_FALSE(stereo_->isVisible());

  mono_->hide();
  EXPECT_FALSE(group->isVisible());
  stereo_->show();
  EXPECT_TRUE(group->isVisible());
  EXPECT_TRUE(stereo_->isVisible());
  EXPECT_FALSE(mono_->isVisible());
}

}  // namespace
