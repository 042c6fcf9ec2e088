#include <QMenuBar>
#include <QTimer>

#include "app/support_page.h"
#include "main_window_fixture.h"
#include "platform/recording_desktop.h"

namespace {

TEST_F(MainWindowTest, HelpButtonAndSupportItemOpenTheSameHelpPage) {
  platform::RecordingDesktop desktop;
  Click(IDC_HELP);
  dialog->OnCommand(ID_HELP_SUPPORT);
  ASSERT_EQ(desktop.opened().size(), 2);
  EXPECT_EQ(desktop.opened()[0], SupportPageUrl());
  EXPECT_EQ(desktop.opened()[1], SupportPageUrl());
  EXPECT_TRUE(SupportPageUrl().isLocalFile());
}

TEST_F(MainWindowTest, WithoutABrowserHelpSaysSoAndGivesTheAddress) {
  platform::RecordingDesktop desktop;
  desktop.SetAccept(false);
  Click(IDC_HELP);
  dialog->OnCommand(ID_HELP_SUPPORT);
  ASSERT_EQ(prompter.prompts().size(), 2u);
  for (const platform::RecordedPrompt& prompt : prompter.prompts()) {
    EXPECT_EQ(prompt.kind, platform::RecordedPrompt::Kind::Message);
    EXPECT_EQ(prompt.caption, "Reelwright");
    EXPECT_EQ(prompt.text, platform::CannotOpenMessage(SupportPageUrl()));
    EXPECT_TRUE(prompt.text.contains(SupportPageUrl().toString()));
    EXPECT_EQ(prompt.owner, dialog.get());
  }

  // With a browser, nothing is said.
  prompter.Clear();
  desktop.SetAccept(true);
  Click(IDC_HELP);
  EXPECT_TRUE(prompter.prompts().empty());
}

TEST_F(MainWindowTest, JoinNowExplainsTheAffiliateLink) {
  platform::RecordingDesktop desktop;
  dialog->GoToPage(3);
  Click(IDC_JOIN_NOW);
  ASSERT_EQ(desktop.opened().size(), 1);
  EXPECT_EQ(desktop.opened()[0].fragment(), "affiliate");
}

TEST_F(MainWindowTest, AboutItemShowsTheAboutBoxWithTheVersion) {
  QString title, version;
  // The About box is modal: look at it from inside its loop, then close it.
  QTimer::singleShot(0, [&] {
    QWidget* box = QApplication::activeModalWidget();
    ASSERT_NE(box, nullptr);
    title = box->windowTitle();
    if (auto* label = box->findChild<QLabel*>("IDC_VERSION")) version = label->text();
    box->close();
  });
  QTimer safety;
  safety.callOnTimeout([] {
    if (QWidget* box = QApplication::activeModalWidget()) box->close();
  });
  safety.start(5000);
  dialog->OnCommand(ID_HELP_ABOUT);
  EXPECT_EQ(title, "About Reelwright");
  EXPECT_EQ(version, "Reelwright Version 1.04");
}

}  // namespace
