// Files dropped onto the window: a video as Browse beside Input Video, an FLV as Browse beside
// Input FLV, a project as Open; anything else, or anything during a run, is refused.
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>

#include "main_window_fixture.h"

namespace {

class DropTest : public MainWindowTest {
 protected:
  QString MakeFile(const QString& name, const QByteArray& content = "x") {
    const QString path = QDir(files_.path()).filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
    return path;
  }

  // Drags `path` over the window and lets go; whether the window took it.
  bool Drop(const QString& path) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    const QPoint middle = dialog->rect().center();
    QDragEnterEvent enter(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(dialog.get(), &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(dialog.get(), &drop);
    return drop.isAccepted();
  }

  QTemporaryDir files_;
};

TEST_F(DropTest, AVideoAnFlvAndAProjectDoWhatTheirButtonsDo) {
  const QString video = MakeFile("holiday.mpg");
  ASSERT_TRUE(Drop(video));
  EXPECT_EQ(edit(IDC_INPUT_VIDEO)->text(), QDir::toNativeSeparators(video));
  EXPECT_EQ(edit(IDC_OUTPUT_FOLDER)->text(), QDir::toNativeSeparators(files_.path()));
  EXPECT_EQ(edit(IDC_OUTPUT_VIDEO)->text(), "holiday.flv");

  const QString flv = MakeFile("old.FLV");
  ASSERT_TRUE(Drop(flv));
  EXPECT_EQ(edit(IDC_INPUT_FLV)->text(), QDir::toNativeSeparators(flv));
  EXPECT_TRUE(edit(IDC_INPUT_VIDEO)->text().isEmpty());

  const QString project = MakeFile("job.reel", "TITLE=Dropped in\r\n");
  ASSERT_TRUE(Drop(project));
  EXPECT_EQ(dialog->State().project_path, QDir::toNativeSeparators(project));
  EXPECT_EQ(edit(IDC_PAGE_TITLE)->text(), "Dropped in");
}

TEST_F(DropTest, OtherFilesAndSeveralAtOnceAreRefused) {
  EXPECT_FALSE(Drop(MakeFile("notes.txt")));
  EXPECT_FALSE(Drop(QDir(files_.path()).filePath("gone.avi")));
  QMimeData two;
  two.setUrls({QUrl::fromLocalFile(MakeFile("a.avi")), QUrl::fromLocalFile(MakeFile("b.avi"))});
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &two, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(dialog.get(), &enter);
  EXPECT_FALSE(enter.isAccepted());
  EXPECT_TRUE(edit(IDC_INPUT_VIDEO)->text().isEmpty());
  EXPECT_TRUE(prompter.prompts().empty());
}

}  // namespace
