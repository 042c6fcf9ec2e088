#include <QSignalSpy>

#include "main_window_fixture.h"

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

TEST_F(MainWindowTest, EnterNeverClosesTheWindow) {
  QSignalSpy finished(dialog.get(), &QDialog::finished);
  edit(IDC_INPUT_VIDEO)->setFocus();
  QTest::keyClick(edit(IDC_INPUT_VIDEO), Qt::Key_Return);
  QTest::keyClick(dialog.get(), Qt::Key_Enter);
  EXPECT_EQ(finished.count(), 0);
  EXPECT_TRUE(prompter.prompts().empty());
}

TEST_F(MainWindowTest, AnUnmodifiedJobExitsWithoutAsking) {
  dialog->SetCurrentProject(dialog->State().project_path);
  Click(IDC_EXIT);
  EXPECT_TRUE(prompter.prompts().empty());
  EXPECT_EQ(exit_codes, std::vector<int>{0});
}

}  // namespace
