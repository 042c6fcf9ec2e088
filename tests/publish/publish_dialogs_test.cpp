// The Get Code and Customize Player dialogs, opened as the window opens them: what they show
// and what they hand back.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QTest>

#include "publish/get_code_dialog.h"
#include "res/resource.h"
#include "ui/skin_button.h"

namespace {

TEST(GetCodeDialog, CopiesAtMostTheClipboardsShareAndKeepsItsTick) {
  QString code;
  for (int i = 0; i < 400; ++i) code += QString("line %1\r\n").arg(i, 3, 10, QChar('0'));
  CGetCodeDialog dialog(nullptr, code);
  dialog.Create(96);
  dialog.show();
  EXPECT_EQ(dialog.accessibleName(), "Get Code...");
  EXPECT_EQ(dialog.Control(IDC_CODE_TEXT)->accessibleName(), "Code");
  EXPECT_EQ(dialog.Control(IDC_COPIED_TICK)->accessibleName(), "Copied");
  EXPECT_TRUE(dialog.code_box()->isReadOnly());
  EXPECT_TRUE(dialog.Control(IDC_COPIED_TICK)->isHidden());
  EXPECT_EQ(static_cast<CSkinButton*>(dialog.Control(IDOK))->CurrentFaceId(), IDB_CLOSE);

  QApplication::clipboard()->setText("before");
  QTest::mouseClick(dialog.Control(IDC_COPY_CODE), Qt::LeftButton);
  EXPECT_EQ(QApplication::clipboard()->text(), code.left(2998));
  EXPECT_FALSE(dialog.Control(IDC_COPIED_TICK)->isHidden());
  // The tick stays, also when the mouse passes over it.
  QTest::mouseMove(dialog.Control(IDC_COPIED_TICK));
  EXPECT_FALSE(dialog.Control(IDC_COPIED_TICK)->isHidden());

  QTest::mouseClick(dialog.Control(IDOK), Qt::LeftButton);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

}  // namespace
