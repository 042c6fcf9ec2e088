// The real message boxes and pickers, looked at from inside their loops and closed.
#include "platform/qt_prompter.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>

namespace {

// Runs `show`, which opens a modal window, and gives that window's title (and, for a file
// dialog, the folder it opened in).
template <typename Show>
QString TitleOfModal(Show show, QString* folder = nullptr) {
  QString title;
  QTimer::singleShot(0, [&] {
    if (QWidget* window = QApplication::activeModalWidget()) {
      title = window->windowTitle();
      if (auto* files = qobject_cast<QFileDialog*>(window); files && folder)
        *folder = files->directory().absolutePath();
      if (auto* dialog = qobject_cast<QDialog*>(window)) dialog->reject();
    }
  });
  show();
  return title;
}

TEST(QtPrompter, LineBreaksInATitleShowAsSpaces) {
  platform::QtPrompter prompter;
  const QString two_lines = "Please pick  OR\r\nmake one";
  EXPECT_EQ(TitleOfModal([&] { prompter.ChooseFolder(nullptr, two_lines, {}); }),
            "Please pick  OR make one");
  EXPECT_EQ(TitleOfModal([&] { prompter.ChooseOpenFile(nullptr, "a\nb", {}, {}); }), "a b");
  EXPECT_EQ(TitleOfModal([&] {
              prompter.ShowMessage(nullptr, "x\ry", "text", platform::Buttons::Ok);
            }),
            "x y");
}

TEST(QtPrompter, PickersOpenInTheFolderTheyAreGiven) {
  platform::QtPrompter prompter;
  QTemporaryDir start;
  QString folder;
  TitleOfModal([&] { prompter.ChooseOpenFile(nullptr, "t", {}, start.path()); }, &folder);
  EXPECT_EQ(folder, QDir(start.path()).absolutePath());
  folder.clear();
  TitleOfModal([&] { prompter.ChooseFolder(nullptr, "t", start.path()); }, &folder);
  EXPECT_EQ(folder, QDir(start.path()).absolutePath());
}

}  // namespace
