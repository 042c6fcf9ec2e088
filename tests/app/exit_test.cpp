#include <QSignalSpy>

#include "main_window_fixture.h"
#include "res/main_template.h"

namespace {

const QString kQuestion = "Do you wish to save changes to the project before you exit?";

TEST_F(MainWindowTest, ExitQuestionHasItsTextCaptionAndButtons) {
  prompter.QueueAnswer(platform::Answer::Cancel);
  Click(IDC_EXIT);
  ASSERT_EQ(prompter.prompts().size(), 1u);
  const platform::RecordedPrompt& prompt = prompter.prompts()[0];
  EXPECT_EQ(prompt.text, kQuestion);
  EXPECT_EQ(prompt.caption, "Reelwright");
  EXPECT_EQ(prompt.buttons, QStringList({"Yes", "No", "Cancel"}));
  EXPECT_EQ(prompt.owner, dialog.get());
}

TEST_F(MainWindowTest, ExitButtonAndMenuEndTheProcessWithZeroUnlessCancelled) {
  struct Case {
    platform::Answer answer;
    bool ends;
  };
  const Case cases[] = {{platform::Answer::Cancel, false},
                        {platform::Answer::No, true},
                        {platform::Answer::Yes, true}};
  for (const Case& c : cases) {
    for (bool from_menu : {false, true}) {
      exit_codes.clear();
      prompter.QueueAnswer(c.answer);
      prompter.QueuePath(program_folder.FilePath("saved.reel"));  // for Yes's Save As
      dialog->SetCurrentProject({});
      Type(IDC_PAGE_TITLE, "x");
      if (from_menu)
        dialog->OnCommand(ID_FILE_EXIT);
      else
        Click(IDC_EXIT);
      EXPECT_EQ(exit_codes, c.ends ? std::vector<int>{0} : std::vector<int>{});
      EXPECT_TRUE(dialog->isVisible());
    }
  }
}

TEST_F(MainWindowTest, CancelAtTheQuestionKeepsTheWindowAsItWas) {
  dialog->GoToPage(2);
  prompter.QueueAnswer(platform::Answer::Cancel);
  QSignalSpy finished(dialog.get(), &QDialog::finished);
  QTest::keyClick(dialog.get(), Qt::Key_Escape);
  EXPECT_EQ(finished.count(), 0);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(dialog->State().current_page, 2);
  EXPECT_TRUE(dialog->State().modified);
}

TEST_F(MainWindowTest, EscapeAndTheCloseBoxAskAndThenEndTheDialog) {
  for (bool escape : {true, false}) {
    auto window = std::make_unique<CMainDialog>();
    window->Create(96);
    window->show();
    QSignalSpy finished(window.get(), &QDialog::finished);
    prompter.QueueAnswer(platform::Answer::No);
    if (escape)
      QTest::keyClick(window.get(), Qt::Key_Escape);
    else
      window->close();
    EXPECT_EQ(finished.count(), 1);
    EXPECT_EQ(prompter.messages().last(), kQuestion);
    EXPECT_EQ(window->result(), QDialog::Rejected);
  }
}

// What Enter could change: every edit's text and every list's row and text, and the window's
// own state.
QStringList WindowContents(const CMainDialog& window) {
  QStringList contents;
  for (const ControlTemplate& control : MainDialogTemplate().controls) {
    if (auto* edit = window.ControlAs<QLineEdit>(control.id))
      contents << QString("%1=%2").arg(control.name, edit->text());
    else if (auto* list = window.ControlAs<QComboBox>(control.id))
      contents << QString("%1=%2:%3")
                      .arg(control.name)
                      .arg(list->currentIndex())
                      .arg(list->currentText());
  }
  const CMainDialog::StateView state = window.State();
  contents << QString("page=%1 modified=%2 encoded=%3 published=%4 project=%5")
                  .arg(state.current_page)
                  .arg(state.modified)
                  .arg(state.encoded)
                  .arg(state.published)
                  .arg(state.project_path);
  return contents;
}

TEST_F(MainWindowTest, EnterNeverClosesTheWindow) {
  program_folder.Write("reelwright.ini", "[Option0]\r\nname=Web\r\nresolution=3\r\n");
  Start();
  dialog->EnableEncodingControls(true);
  dialog->ShowEncodedResult();
  dialog->ShowPublishedResult();
  dialog->SetCurrentProject(program_folder.FilePath("job.reel"));
  QApplication::setActiveWindow(dialog.get());
  QSignalSpy finished(dialog.get(), &QDialog::finished);
  int pressed_in = 0;
  for (int page = 1; page <= 3; ++page) {
    dialog->GoToPage(page);
    for (const ControlTemplate& entry : MainDialogTemplate().controls) {
      QWidget* widget = control(entry.id);
      if (!qobject_cast<QLineEdit*>(widget) && !qobject_cast<QComboBox*>(widget)) continue;
      if (!widget->isVisible() || !widget->isEnabled()) continue;
      const QStringList before = WindowContents(*dialog);
      widget->setFocus();
      ASSERT_TRUE(widget->hasFocus()) << entry.name;
      if (auto* list = qobject_cast<QComboBox*>(widget); list && list->lineEdit())
        list->lineEdit()->setText(list->itemText(list->count() - 1));  // a row's text, typed
      const QStringList typed = WindowContents(*dialog);
      for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter})
        QTest::keyClick(QApplication::focusWidget(), key);
      EXPECT_EQ(WindowContents(*dialog), typed) << entry.name;
      EXPECT_EQ(finished.count(), 0) << entry.name;
      EXPECT_TRUE(dialog->isVisible()) << entry.name;
      if (before != typed) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      ++pressed_in;
    }
  }
  EXPECT_GE(pressed_in, 12);  // the edits and lists of all three pages
  EXPECT_TRUE(prompter.prompts().empty());
}

TEST_F(MainWindowTest, AnUnmodifiedJobExitsWithoutAsking) {
  dialog->SetCurrentProject(dialog->State().project_path);
  Click(IDC_EXIT);
  EXPECT_TRUE(prompter.prompts().empty());
  EXPECT_EQ(exit_codes, std::vector<int>{0});
}

}  // namespace
