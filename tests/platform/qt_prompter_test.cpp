// The real message boxes and pickers, looked at from inside their loops and closed.
#include "platform/qt_prompter.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QTimer>

namespace {

// Runs `show`, which opens a modal window, and gives that window's title.
template <typename Show>
QString TitleOfModal(Show show) {
  QString title;
  QTimer::singleShot(0, [&] {
    if (QWidget* window = QApplication::activeModalWidget()) {
      title = window->windowTitle();
      if (auto* dialog = qobject_cast<QDialog*>(window)) dialog->reject();
    }
  });
  show();
  return title;
}

TEST(QtPrompter, LineBreaksInATitleShowAsSpaces) {
  platform::QtPrompter prompter;
  const QString two_lines = "Please pick  OR\r\nmake one";
  EXPECT_EQ(TitleOfModal([&] { prompter.ChooseFolder(nullptr, two_lines); }),
            "Please pick  OR make one");
  EXPECT_EQ(TitleOfModal([&] { prompter.ChooseOpenFile(nullptr, "a\nb", {}); }), "a b");
  EXPECT_EQ(TitleOfModal([&] {
              prompter.ShowMessage(nullptr, "x\ry", "text", platform::Buttons::Ok);
            }),
            "x y");
}

}  // namespace
