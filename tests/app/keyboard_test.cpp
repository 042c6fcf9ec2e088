// The window driven by the keyboard alone: Tab walks what is shown in reading order, the page
// tabs and Ctrl+Tab switch pages, and the menus' shortcuts work from any control.
#include <QApplication>
#include <QDir>

#include "app/support_page.h"
#include "main_window_fixture.h"
#include "platform/recording_desktop.h"
#include "ui/page_tab_button.h"

namespace {

class KeyboardTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
  }

  QWidget* Focused() const { return QApplication::focusWidget(); }

  // A combo box's field has the focus for it; the control is the named one.
  static QString NameOf(QWidget* widget) {
    while (widget && !widget->objectName().startsWith("ID")) widget = widget->parentWidget();
    return widget ? widget->objectName() : QString("<none>");
  }

  void Press(int key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(Focused(), Qt::Key(key), modifiers);
  }

  // Tab from the first page tab round the window back to it: the names met on the way.
  QStringList TabRound() {
    control(IDC_TAB_FILES)->setFocus(Qt::TabFocusReason);
    QStringList met;
    for (int i = 0; i < 60; ++i) {
      met << NameOf(Focused());
      EXPECT_TRUE(Focused()->isVisible() && Focused()->isEnabled()) << met.back().toStdString();
      Press(Qt::Key_Tab);
      if (NameOf(Focused()) == "IDC_TAB_FILES") break;
    }
    return met;
  }
};

QStringList Named(std::initializer_list<const char*> names) {
  QStringList list;
  for (const char* name : names) list << QString("IDC_") + name;
  return list;
}

TEST_F(KeyboardTest, TabWalksEachPageInReadingOrderAndReachesNothingHidden) {
  // Before an input is chosen, Step 2 has nothing enabled but the tabs and the bottom bar.
  dialog->GoToPage(2);
  EXPECT_EQ(TabRound(), Named({"TAB_FILES", "TAB_ENCODING", "TAB_PUBLISH", "OPEN", "SAVE",
                               "SAVE_AS", "BACK", "NEXT", "HELP", "EXIT"}));

  dialog->GoToPage(1);
  EXPECT_EQ(TabRound(),
            Named({"TAB_FILES", "TAB_ENCODING", "TAB_PUBLISH", "INPUT_VIDEO", "BROWSE_VIDEO",
                   "INPUT_FLV", "BROWSE_FLV", "OUTPUT_FOLDER", "BROWSE_FOLDER", "OUTPUT_VIDEO",
                   "OUTPUT_HTML", "OPEN", "SAVE", "SAVE_AS", "NEXT", "HELP", "EXIT"}));

  // Browse pressed with Space chooses a movie, which enables Step 2.
  prompter.QueuePath(QDir(program_folder.path()).filePath("clip.avi"));
  control(IDC_BROWSE_VIDEO)->setFocus(Qt::TabFocusReason);
  Press(Qt::Key_Space);
  ASSERT_FALSE(edit(IDC_INPUT_VIDEO)->text().isEmpty());

  dialog->GoToPage(2);
  EXPECT_EQ(TabRound(), Named({"TAB_FILES",      "TAB_ENCODING",  "TAB_PUBLISH",   "PRESET",
                               "ADD_PRESET",     "RESOLUTION",    "FRAME_RATE",    "VIDEO_BITRATE",
                               "ENABLE_AUDIO",   "AUDIO_BITRATE", "SAMPLING_RATE", "MONO",
                               "START_ENCODING", "OPEN",          "SAVE",          "SAVE_AS",
                               "BACK",           "NEXT",          "HELP",          "EXIT"}));

  dialog->GoToPage(3);
  EXPECT_EQ(TabRound(),
            Named({"TAB_FILES", "TAB_ENCODING", "TAB_PUBLISH", "PAGE_TITLE", "CUSTOMIZE_PLAYER",
                   "ADVANCED_OPTIONS", "BUFFER_SIZE", "PAUSED_AT_START", "DISABLE_I_BUTTON",
                   "SHOW_BORDER", "JOIN_NOW", "ENABLE_REDIRECT", "PRODUCE_PAGE", "OPEN", "SAVE",
                   "SAVE_AS", "BACK", "HELP", "EXIT"}));

  // Shift+Tab walks the same way back.
  control(IDC_PAGE_TITLE)->setFocus(Qt::TabFocusReason);
  Press(Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(NameOf(Focused()), "IDC_TAB_PUBLISH");
}

TEST_F(KeyboardTest, TabStopsAtTheChosenChannelsAndTheArrowsMoveTheChoice) {
  prompter.QueuePath(QDir(program_folder.path()).filePath("clip.avi"));
  Click(IDC_BROWSE_VIDEO);
  dialog->GoToPage(2);
  for (const auto& [chosen, other] : {std::pair{IDC_STEREO, IDC_MONO}, {IDC_MONO, IDC_STEREO}}) {
    button(chosen)->click();
    control(IDC_SAMPLING_RATE)->setFocus(Qt::TabFocusReason);
    Press(Qt::Key_Tab);
    EXPECT_EQ(Focused(), control(chosen));
    Press(Qt::Key_Tab);
    EXPECT_EQ(NameOf(Focused()), "IDC_START_ENCODING");
    Press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Focused(), control(chosen));
  }
  // Mono is chosen and has the focus: the arrow moves both to Stereo, and back.
  Press(Qt::Key_Right);
  EXPECT_TRUE(button(IDC_STEREO)->isChecked());
  EXPECT_EQ(Focused(), control(IDC_STEREO));
  Press(Qt::Key_Left);
  EXPECT_TRUE(button(IDC_MONO)->isChecked());
  EXPECT_EQ(Focused(), control(IDC_MONO));
}

TEST_F(KeyboardTest, PageTabsAndCtrlTabSwitchPagesAndTheFocusLandsOnTheShownTab) {
  const auto shown_tabs = [this] {
    QStringList shown;
    for (int id : {IDC_TAB_FILES, IDC_TAB_ENCODING, IDC_TAB_PUBLISH})
      if (dialog->ControlAs<CPageTabButton>(id)->shown()) shown << NameOf(control(id));
    return shown;
  };
  EXPECT_EQ(shown_tabs(), QStringList{"IDC_TAB_FILES"});

  // Space and Enter on a tab show its page; the focus stays on it.
  control(IDC_TAB_FILES)->setFocus(Qt::TabFocusReason);
  Press(Qt::Key_Tab);
  Press(Qt::Key_Tab);
  ASSERT_EQ(NameOf(Focused()), "IDC_TAB_PUBLISH");
  Press(Qt::Key_Space);
  EXPECT_EQ(dialog->State().current_page, 3);
  Press(Qt::Key_Backtab, Qt::ShiftModifier);
  Press(Qt::Key_Return);
  EXPECT_EQ(dialog->State().current_page, 2);
  Press(Qt::Key_Backtab, Qt::ShiftModifier);
  Press(Qt::Key_Space);
  Press(Qt::Key_Tab);
  Press(Qt::Key_Space);
  EXPECT_EQ(dialog->State().current_page, 2);
  EXPECT_EQ(NameOf(Focused()), "IDC_TAB_ENCODING");
  EXPECT_EQ(shown_tabs(), QStringList{"IDC_TAB_ENCODING"});

  // Ctrl+Tab goes round the pages from any control; the focus goes to the shown page's tab,
  // never stays on a control the page change hid.
  dialog->GoToPage(1);
  control(IDC_OUTPUT_HTML)->setFocus(Qt::TabFocusReason);
  const std::pair<Qt::KeyboardModifiers, int> steps[] = {
      {Qt::ControlModifier, 2},
      {Qt::ControlModifier, 3},
      {Qt::ControlModifier, 1},
      {Qt::ControlModifier | Qt::ShiftModifier, 3},
      {Qt::ControlModifier | Qt::ShiftModifier, 2}};
  for (const auto& [modifiers, page] : steps) {
    Press(modifiers & Qt::ShiftModifier ? Qt::Key_Backtab : Qt::Key_Tab, modifiers);
    EXPECT_EQ(dialog->State().current_page, page);
    EXPECT_TRUE(Focused()->isVisible());
    EXPECT_EQ(shown_tabs(), QStringList{NameOf(Focused())});
  }

  // Back and Next do the same.
  control(IDC_BACK)->setFocus(Qt::TabFocusReason);
  Press(Qt::Key_Space);
  EXPECT_EQ(dialog->State().current_page, 1);
  EXPECT_EQ(NameOf(Focused()), "IDC_TAB_FILES");
}

TEST_F(KeyboardTest, OpenSaveSaveAsAndHelpKeysWorkFromAnyControl) {
  using Kind = platform::RecordedPrompt::Kind;
  platform::RecordingDesktop desktop;
  control(IDC_PAGE_TITLE)->setFocus(Qt::TabFocusReason);
  Press(Qt::Key_O, Qt::ControlModifier);  // no path given: the picker is cancelled
  ASSERT_EQ(prompter.prompts().size(), 1u);
  EXPECT_EQ(prompter.prompts()[0].kind, Kind::OpenFile);

  const QString path = program_folder.FilePath("keys.reel");
  prompter.QueuePath(path);
  Press(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
  ASSERT_EQ(prompter.prompts().size(), 2u);
  EXPECT_EQ(prompter.prompts()[1].kind, Kind::SaveFile);
  EXPECT_EQ(dialog->State().project_path, path);

  // Saved once, Ctrl+S writes the project again without asking.
  QFile::remove(path);
  Press(Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(prompter.prompts().size(), 2u);
  EXPECT_TRUE(QFile::exists(path));

  Press(Qt::Key_F1);
  ASSERT_EQ(desktop.opened().size(), 1);
  EXPECT_EQ(desktop.opened()[0], SupportPageUrl());
}

}  // namespace
