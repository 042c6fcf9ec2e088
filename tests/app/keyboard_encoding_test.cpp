// A whole encoding with the keyboard alone: the input chosen by typing its path in the Browse
// dialog, Step 2 reached and Start Encoding pressed with keys, the tick shown at the end.
#include "real_program_window.h"

namespace {

using KeyboardEncodingTest = RealProgramWindowTest;

QString FocusedName() {
  QWidget* widget = QApplication::focusWidget();
  while (widget && !widget->objectName().startsWith("ID")) widget = widget->parentWidget();
  return widget ? widget->objectName() : QString("<none>");
}

// Presses Tab until the control named `name` has the focus; false when a round never meets it.
bool TabTo(const QString& name) {
  for (int i = 0; i < 40 && FocusedName() != name; ++i)
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  return FocusedName() == name;
}

TEST_F(KeyboardEncodingTest, TypeThePathMoveToStepTwoAndPressEnterOnStartEncoding) {
  const QString movie = MakeClip("keys.avi", {"-c:v", "mjpeg"});
  dialog_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(dialog_.get()));
  ASSERT_NE(QApplication::focusWidget(), nullptr);

  // The path the user types into the file dialog that Browse opens.
  prompter_.QueuePath(movie);
  ASSERT_TRUE(TabTo("IDC_BROWSE_VIDEO"));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
  ASSERT_EQ(Edit(IDC_INPUT_VIDEO)->text(), movie);

  // The Next arrow, pressed with Enter, shows Step 2; there Start Encoding is a Tab away.
  ASSERT_TRUE(TabTo("IDC_NEXT"));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  ASSERT_EQ(dialog_->State().current_page, 2);
  ASSERT_TRUE(TabTo("IDC_START_ENCODING"));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);

  ASSERT_TRUE(test_support::WaitUntil(
      [this] { return !dialog_->encoding_run().running() && Shown(IDC_ENCODED_TICK); }, 120000));
  EXPECT_TRUE(dialog_->State().encoded);
  EXPECT_TRUE(QFileInfo::exists(QFileInfo(movie).dir().filePath("keys.flv")));
}

}  // namespace
