// The Advanced Options dialog as the user meets it: laid out from its template, Enter as OK,
// and check boxes that take a click anywhere in their rectangle.
#include "publish/advanced_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QTest>

#include "res/advanced_template.h"
#include "res/resource.h"

namespace {

class AdvancedDialogTest : public ::testing::Test {
 protected:
  AdvancedDialogTest() {
    players_.Set(false, "http://players.example.org/");
    dialog_.Create(96);
    dialog_.show();
    QApplication::setActiveWindow(&dialog_);
  }

  store::ExternalUrlOption players_{store::kPlayersUrlKey};
  store::ExternalUrlOption videos_{store::kVideosUrlKey};
  store::ExternalUrlOption js_{store::kJsUrlKey};
  bool publish_mp4_ = true;
  AdvancedDlg dialog_{nullptr, players_, videos_, js_, publish_mp4_};
};

TEST_F(AdvancedDialogTest, IsLaidOutFromTemplate237) {
  const DialogTemplate& layout = AdvancedOptionsTemplate();
  EXPECT_EQ(layout.id, 237);
  EXPECT_EQ(dialog_.windowTitle(), "Advanced Options");
  EXPECT_EQ(dialog_.size(), QSize(371, 244));
  ASSERT_EQ(layout.controls.size(), 9u);
  for (const ControlTemplate& control : layout.controls) {
    QWidget* widget = dialog_.Control(control.id);
    ASSERT_NE(widget, nullptr) << control.name;
    EXPECT_EQ(widget->objectName(), control.name);
    // A skinned button takes the size of its bitmap; it stands where the template puts it.
    if (control.kind == ControlKind::SkinButton)
      EXPECT_EQ(widget->pos(), control.rect.topLeft()) << control.name;
    else
      EXPECT_EQ(widget->geometry(), control.rect) << control.name;
    EXPECT_TRUE(QRect(QPoint(0, 0), dialog_.size()).contains(widget->geometry())) << control.name;
  }
  EXPECT_EQ(dialog_.check(0), dialog_.Control(IDC_USE_PLAYERS_URL));
  EXPECT_EQ(dialog_.url(2), dialog_.Control(IDC_JS_URL));
  EXPECT_EQ(dialog_.url(0)->text(), "http://players.example.org/");
  EXPECT_EQ(dialog_.publish_mp4_check()->text(),
            "Also publish an MP4 for browsers that cannot play Flash");
}

TEST_F(AdvancedDialogTest, TheMp4ChoiceShowsAsStoredAndChangesOnlyOnOk) {
  EXPECT_TRUE(dialog_.publish_mp4_check()->isChecked());
  QTest::mouseClick(dialog_.publish_mp4_check(), Qt::LeftButton);
  dialog_.reject();
  EXPECT_TRUE(publish_mp4_);  // Cancel keeps it

  AdvancedDlg again(nullptr, players_, videos_, js_, publish_mp4_);
  again.Create(96);
  again.show();
  QTest::mouseClick(again.publish_mp4_check(), Qt::LeftButton);
  again.accept();
  EXPECT_FALSE(publish_mp4_);
  AdvancedDlg third(nullptr, players_, videos_, js_, publish_mp4_);
  third.Create(96);
  EXPECT_FALSE(third.publish_mp4_check()->isChecked());
}

TEST_F(AdvancedDialogTest, EnterActsAsOkWhereverTheFocusIs) {
  QTest::mouseClick(dialog_.check(0), Qt::LeftButton);
  dialog_.url(0)->setFocus();
  dialog_.url(0)->selectAll();
  QTest::keyClicks(dialog_.url(0), "http://typed.example.org/");
  QTest::keyClick(dialog_.url(0), Qt::Key_Return);
  EXPECT_EQ(dialog_.result(), QDialog::Accepted);
  EXPECT_FALSE(dialog_.isVisible());
  EXPECT_TRUE(players_.enabled());
  EXPECT_EQ(players_.url(), "http://typed.example.org/");

  for (Qt::Key key : {Qt::Key_Enter, Qt::Key_Return}) {
    AdvancedDlg again(nullptr, players_, videos_, js_, publish_mp4_);
    again.Create(96);
    again.show();
    QApplication::setActiveWindow(&again);
    again.check(2)->setFocus();
    QTest::keyClick(again.check(2), key);
    EXPECT_EQ(again.result(), QDialog::Accepted);
  }
}

TEST_F(AdvancedDialogTest, AClickAnywhereInACheckBoxsRectangleTogglesIt) {
  for (int row = 0; row < 3; ++row) {
    QCheckBox* box = dialog_.check(row);
    const bool before = box->isChecked();
    // Far to the right of the caption, in the box's own rectangle.
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() - 3, box->height() / 2));
    EXPECT_NE(box->isChecked(), before) << row;
    EXPECT_EQ(dialog_.url(row)->isEnabled(), box->isChecked()) << row;
  }
}

}  // namespace
