#include "main_window_fixture.h"
#include "ui/skin_progress.h"

namespace {

struct EditCase {
  int id;
  bool marks_modified;
};

TEST_F(MainWindowTest, TypingMarksTheJobModifiedExceptInTheRedirectAddress) {
  const EditCase cases[] = {{IDC_INPUT_VIDEO, true},   {IDC_INPUT_FLV, true},
                            {IDC_OUTPUT_FOLDER, true}, {IDC_OUTPUT_VIDEO, true},
                            {IDC_OUTPUT_HTML, true},   {IDC_PAGE_TITLE, true},
                            {IDC_AFFILIATE_ID, true},  {IDC_REDIRECT_URL, false}};
  // The affiliate and redirect fields are usable once their options are on.
  dialog->GoToPage(3);
  Click(IDC_DISABLE_I_BUTTON);
  Click(IDC_ENABLE_LINK);
  Click(IDC_ENABLE_REDIRECT);
  for (const EditCase& c : cases) {
    SCOPED_TRACE(c.id);
    dialog->SetCurrentProject(dialog->State().project_path);
    Type(c.id, "x");
    EXPECT_EQ(dialog->State().modified, c.marks_modified);
  }
}

TEST_F(MainWindowTest, ProgramSetRowsAndChecksRaiseNoHandler) {
  dialog->SetCurrentProject(dialog->State().project_path);
  list(IDC_RESOLUTION)->setCurrentIndex(4);
  list(IDC_BUFFER_SIZE)->setCurrentIndex(3);
  button(IDC_SHOW_BORDER)->setChecked(false);
  button(IDC_ENABLE_AUDIO)->setChecked(false);
  EXPECT_FALSE(dialog->State().modified);
}

// A user types into the focused field and leaves it with Tab or Enter: the text typed is the
// value, and no list handler runs (no completion, no preset cleared, nothing marked).
TEST_F(MainWindowTest, TypingABufferSizeMarksNothingButIsTheValue) {
  program_folder.Write("reelwright.ini", "[Option0]\r\nname=Web\r\nresolution=3\r\n");
  Start();
  dialog->EnableEncodingControls(true);
  dialog->GoToPage(3);
  dialog->ShowPublishedResult();
  dialog->SetCurrentProject(dialog->State().project_path);
  ASSERT_EQ(list(IDC_PRESET)->currentIndex(), 0);
  QApplication::setActiveWindow(dialog.get());

  QComboBox* combo = list(IDC_BUFFER_SIZE);
  struct Case {
    QString typed;
    Qt::Key leave;
  };
  // "3", "4" and "1" begin rows ("30", "45", "10"); "10" and "45" are rows.
  const Case cases[] = {{"3", Qt::Key_Tab},  {"4", Qt::Key_Return},  {"1", Qt::Key_Enter},
                        {"10", Qt::Key_Tab}, {"10", Qt::Key_Return}, {"45", Qt::Key_Enter}};
  for (const Case& c : cases) {
    combo->setFocus();
    ASSERT_TRUE(combo->hasFocus());
    combo->lineEdit()->selectAll();
    QTest::keyClicks(QApplication::focusWidget(), c.typed);
    QTest::keyClick(QApplication::focusWidget(), c.leave);
    EXPECT_EQ(combo->currentText(), c.typed) << c.typed.toStdString();
    EXPECT_EQ(list(IDC_PRESET)->currentIndex(), 0) << c.typed.toStdString();
    EXPECT_TRUE(control(IDC_DELETE_PRESET)->isEnabled());
    EXPECT_FALSE(dialog->State().modified) << c.typed.toStdString();
    EXPECT_TRUE(dialog->State().published) << c.typed.toStdString();
  }
  EXPECT_EQ(combo->count(), 9);

  // A pick from the drop-down is still a choice.
  Pick(IDC_BUFFER_SIZE, 6);
  EXPECT_EQ(combo->currentText(), "30");
  EXPECT_EQ(list(IDC_PRESET)->currentIndex(), -1);
  EXPECT_TRUE(dialog->State().modified);
}

TEST_F(MainWindowTest, InvalidateResultsHidesTicksAndGreysPreviewAndCode) {
  dialog->EnableEncodingControls(true);
  dialog->ShowEncodedResult();
  dialog->ShowPublishedResult();
  dialog->GoToPage(2);
  EXPECT_TRUE(shown(IDC_ENCODED_TICK));
  EXPECT_EQ(dialog->EncodingProgress()->value(), 100);
  dialog->GoToPage(3);
  EXPECT_TRUE(shown(IDC_PUBLISHED_TICK));
  EXPECT_TRUE(control(IDC_PREVIEW_PAGE)->isEnabled());
  EXPECT_TRUE(control(IDC_GET_CODE)->isEnabled());

  Type(IDC_PAGE_TITLE, "My page");

  EXPECT_FALSE(shown(IDC_PUBLISHED_TICK));
  EXPECT_FALSE(control(IDC_PREVIEW_PAGE)->isEnabled());
  EXPECT_FALSE(control(IDC_GET_CODE)->isEnabled());
  EXPECT_FALSE(dialog->State().encoded);
  EXPECT_FALSE(dialog->State().published);
  EXPECT_TRUE(dialog->State().modified);
  dialog->GoToPage(2);
  EXPECT_FALSE(shown(IDC_ENCODED_TICK));
  EXPECT_EQ(dialog->EncodingProgress()->value(), 0);
}

TEST_F(MainWindowTest, ClicksThatInvalidateAndClicksThatOnlyToggle) {
  dialog->GoToPage(3);
  struct Case {
    int id;
    bool marks_modified;
  };
  const Case cases[] = {{IDC_SHOW_BORDER, true},
                        {IDC_PAUSED_AT_START, true},
                        {IDC_DISABLE_I_BUTTON, true},
                        {IDC_ENABLE_REDIRECT, true},
                        {IDC_PRELOAD_MOVIE, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    dialog->SetCurrentProject(dialog->State().project_path);
    Click(c.id);
    EXPECT_EQ(dialog->State().modified, c.marks_modified);
  }
}

TEST_F(MainWindowTest, PausedAtStartShowsAndHidesPreloadMovie) {
  dialog->GoToPage(3);
  EXPECT_FALSE(shown(IDC_PRELOAD_MOVIE));
  Click(IDC_PAUSED_AT_START);
  EXPECT_TRUE(shown(IDC_PRELOAD_MOVIE));
  EXPECT_TRUE(button(IDC_PRELOAD_MOVIE)->isChecked());
  Click(IDC_PAUSED_AT_START);
  EXPECT_FALSE(shown(IDC_PRELOAD_MOVIE));
}

TEST_F(MainWindowTest, DisableIButtonGreysTheAffiliateLinkWithoutHidingIt) {
  dialog->GoToPage(3);
  Click(IDC_DISABLE_I_BUTTON);  // unchecked: the link can be used
  ASSERT_TRUE(control(IDC_ENABLE_LINK)->isEnabled());
  Click(IDC_ENABLE_LINK);
  Type(IDC_AFFILIATE_ID, "abc");
  Click(IDC_DISABLE_I_BUTTON);
  for (int id : {IDC_ENABLE_LINK, IDC_LABEL_AFFILIATE_ID, IDC_AFFILIATE_ID}) {
    EXPECT_FALSE(control(id)->isEnabled()) << id;
    EXPECT_TRUE(shown(id)) << id;
  }
  EXPECT_EQ(edit(IDC_AFFILIATE_ID)->text(), "abc");
}

TEST_F(MainWindowTest, AffiliateAndRedirectRulesShowTheirFieldsAndKeepTheText) {
  dialog->GoToPage(3);
  Click(IDC_DISABLE_I_BUTTON);
  struct Case {
    int check, label, field;
    bool CMainDialog::StateView::*flag;
  };
  const Case cases[] = {{IDC_ENABLE_LINK, IDC_LABEL_AFFILIATE_ID, IDC_AFFILIATE_ID,
                         &CMainDialog::StateView::affiliate_enabled},
                        {IDC_ENABLE_REDIRECT, IDC_LABEL_HTTP, IDC_REDIRECT_URL,
                         &CMainDialog::StateView::redirect_enabled}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.check);
    EXPECT_FALSE(shown(c.field));
    Click(c.check);
    EXPECT_TRUE(shown(c.label));
    EXPECT_TRUE(shown(c.field));
    EXPECT_TRUE(dialog->State().*c.flag);
    EXPECT_EQ(dialog->focusWidget(), control(c.field));
    Type(c.field, "site/next.html");
    Click(c.check);
    EXPECT_FALSE(shown(c.label));
    EXPECT_FALSE(shown(c.field));
    EXPECT_FALSE(dialog->State().*c.flag);
    EXPECT_EQ(edit(c.field)->text(), "site/next.html");
  }
}

TEST_F(MainWindowTest, EnableEncodingControlsSwitchesThePageTwoControls) {
  dialog->EnableEncodingControls(true);
  for (int id :
       {IDC_LABEL_SAMPLING_RATE, IDC_LABEL_RESOLUTION, IDC_LABEL_PRESET, IDC_LABEL_FRAME_RATE,
        IDC_LABEL_VIDEO_BITRATE, IDC_LABEL_AUDIO_BITRATE, IDC_AUDIO_BITRATE, IDC_SAMPLING_RATE,
        IDC_RESOLUTION, IDC_PRESET, IDC_FRAME_RATE, IDC_VIDEO_BITRATE, IDC_ENABLE_AUDIO, IDC_MONO,
        IDC_STEREO, IDC_START_ENCODING, IDC_ADD_PRESET, IDC_ENCODING_PROGRESS})
    EXPECT_TRUE(control(id)->isEnabled()) << id;
  // No preset chosen: nothing to delete.
  EXPECT_FALSE(control(IDC_DELETE_PRESET)->isEnabled());
  dialog->EnableEncodingControls(false);
  EXPECT_FALSE(control(IDC_START_ENCODING)->isEnabled());
}

TEST_F(MainWindowTest, EncodingChoicesCaptureTheCustomValues) {
  dialog->EnableEncodingControls(true);
  dialog->GoToPage(2);
  Pick(IDC_RESOLUTION, 3);
  Pick(IDC_FRAME_RATE, 9);
  Pick(IDC_VIDEO_BITRATE, 5);
  Pick(IDC_AUDIO_BITRATE, 6);
  Pick(IDC_SAMPLING_RATE, 1);
  Click(IDC_STEREO);
  Click(IDC_ENABLE_AUDIO);
  const store::EncodingPreset custom = dialog->State().custom_preset;
  EXPECT_EQ(custom.resolution, 3);
  EXPECT_EQ(custom.frame_rate, 9);
  EXPECT_EQ(custom.video_bitrate, 5);
  EXPECT_EQ(custom.audio_bitrate, 6);
  EXPECT_EQ(custom.sampling_rate, 1);
  EXPECT_EQ(custom.mono, 0);
  EXPECT_EQ(custom.enabled_audio, 0);
  EXPECT_EQ(custom.name, "Custom new");
  EXPECT_TRUE(dialog->State().modified);
}

}  // namespace
