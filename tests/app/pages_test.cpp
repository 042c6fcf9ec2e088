#include "main_window_fixture.h"
#include "ui/page_tab_button.h"
#include "ui/skin_progress.h"

namespace {

const QList<int> kPage1 = {IDC_LABEL_INPUT_VIDEO,   IDC_INPUT_VIDEO,   IDC_BROWSE_VIDEO,
                           IDC_LABEL_INPUT_FLV,     IDC_INPUT_FLV,     IDC_BROWSE_FLV,
                           IDC_LABEL_OUTPUT_FOLDER, IDC_OUTPUT_FOLDER, IDC_BROWSE_FOLDER,
                           IDC_LABEL_OUTPUT_VIDEO,  IDC_OUTPUT_VIDEO,  IDC_LABEL_OUTPUT_HTML,
                           IDC_OUTPUT_HTML};
const QList<int> kPage2 = {IDC_LABEL_PRESET,
                           IDC_PRESET,
                           IDC_ADD_PRESET,
                           IDC_DELETE_PRESET,
                           IDC_LABEL_RESOLUTION,
                           IDC_RESOLUTION,
                           IDC_LABEL_FRAME_RATE,
                           IDC_FRAME_RATE,
                           IDC_LABEL_VIDEO_BITRATE,
                           IDC_VIDEO_BITRATE,
                           IDC_ENABLE_AUDIO,
                           IDC_LABEL_AUDIO_BITRATE,
                           IDC_AUDIO_BITRATE,
                           IDC_LABEL_SAMPLING_RATE,
                           IDC_SAMPLING_RATE,
                           IDC_MONO,
                           IDC_STEREO,
                           IDC_ENCODING_PROGRESS,
                           IDC_START_ENCODING};
// Page 3 without the controls that also depend on a flag.
const QList<int> kPage3 = {IDC_LABEL_PAGE_TITLE,  IDC_PAGE_TITLE,       IDC_PLAYER_NAME,
                           IDC_PLAYER_PREVIEW,    IDC_CUSTOMIZE_PLAYER, IDC_ADVANCED_OPTIONS,
                           IDC_LABEL_BUFFER_SIZE, IDC_BUFFER_SIZE,      IDC_LABEL_SECONDS,
                           IDC_PAUSED_AT_START,   IDC_DISABLE_I_BUTTON, IDC_SHOW_BORDER,
                           IDC_ENABLE_LINK,       IDC_JOIN_NOW,         IDC_ENABLE_REDIRECT,
                           IDC_PRODUCE_PAGE,      IDC_PREVIEW_PAGE,     IDC_GET_CODE};
const QList<int> kConditional = {IDC_LABEL_AFFILIATE_ID, IDC_AFFILIATE_ID, IDC_PRELOAD_MOVIE,
                                 IDC_PUBLISHED_TICK,     IDC_ENCODED_TICK, IDC_LABEL_HTTP,
                                 IDC_REDIRECT_URL};
const QList<int> kEveryPage = {IDC_TAB_FILES, IDC_TAB_ENCODING, IDC_TAB_PUBLISH,
                               IDC_TAB_BLANK, IDC_OPEN,         IDC_SAVE,
                               IDC_SAVE_AS,   IDC_HELP,         IDC_EXIT};

TEST_F(MainWindowTest, EachPageShowsExactlyItsControlsAndItsArrows) {
  struct Case {
    int tab;
    int page;
    QList<int> visible;
    bool back, next;
  };
  const Case cases[] = {{IDC_TAB_ENCODING, 2, kPage2, true, true},
                        {IDC_TAB_PUBLISH, 3, kPage3, true, false},
                        {IDC_TAB_FILES, 1, kPage1, false, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.page);
    Click(c.tab);
    EXPECT_EQ(dialog->State().current_page, c.page);
    for (const QList<int>* page : {&kPage1, &kPage2, &kPage3})
      for (int id : *page) EXPECT_EQ(shown(id), page == &c.visible || c.visible.contains(id)) << id;
    for (int id : kConditional) EXPECT_FALSE(shown(id)) << id;
    for (int id : kEveryPage) EXPECT_TRUE(shown(id)) << id;
    EXPECT_EQ(shown(IDC_BACK), c.back);
    EXPECT_EQ(shown(IDC_NEXT), c.next);
  }
}

TEST_F(MainWindowTest, EveryControlOfAPageLiesInsideThePageBitmap) {
  for (QWidget* w : dialog->ClientArea()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    EXPECT_TRUE(QRect(0, 0, 540, 530).contains(w->geometry())) << w->objectName().toStdString();
}

TEST_F(MainWindowTest, PageBitmapFollowsThePageAndTheBlankTabKeepsThePageOneBitmap) {
  const std::pair<int, int> pages[] = {
      {2, IDB_PAGE_ENCODING}, {3, IDB_PAGE_PUBLISH}, {1, IDB_PAGE_FILES}};
  for (auto [page, bitmap] : pages) {
    dialog->GoToPage(page);
    EXPECT_EQ(dialog->State().background_id, bitmap);
    for (int tab : {IDC_TAB_FILES, IDC_TAB_ENCODING, IDC_TAB_PUBLISH})
      EXPECT_EQ(dialog->ControlAs<CPageTabButton>(tab)->background_id(), bitmap);
    EXPECT_EQ(dialog->ControlAs<CPageTabButton>(IDC_TAB_BLANK)->background_id(), IDB_PAGE_FILES);
  }
}

TEST_F(MainWindowTest, ArrowsFollowWhichFile) {
  struct Case {
    int which_file;
    QList<int> pages_after_next_clicks;
  };
  const Case cases[] = {{0, {2, 3}}, {1, {2, 3}}, {2, {3}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.which_file);
    dialog->GoToPage(1);
    dialog->settings().which_file = c.which_file;
    for (int expected : c.pages_after_next_clicks) {
      Click(IDC_NEXT);
      EXPECT_EQ(dialog->State().current_page, expected);
    }
  }
  // An existing FLV skips page 2 going forward, but it stays reachable backwards.
  Click(IDC_BACK);
  EXPECT_EQ(dialog->State().current_page, 2);
  Click(IDC_BACK);
  EXPECT_EQ(dialog->State().current_page, 1);
  EXPECT_FALSE(shown(IDC_BACK));
}

TEST_F(MainWindowTest, OutOfRangeAndSamePageChangeNothing) {
  for (int page : {0, 4, -1, 1}) {
    dialog->GoToPage(page);
    EXPECT_EQ(dialog->State().current_page, 1);
  }
  Click(IDC_TAB_BLANK);
  EXPECT_EQ(dialog->State().current_page, 1);
}

TEST_F(MainWindowTest, PageTwoShowsTheTickAndAFullBarOnlyWhileEncoded) {
  dialog->EnableEncodingControls(true);
  dialog->ShowEncodedResult();
  dialog->GoToPage(2);
  EXPECT_TRUE(shown(IDC_ENCODED_TICK));
  EXPECT_EQ(dialog->EncodingProgress()->value(), 100);
  dialog->GoToPage(3);
  Type(IDC_PAGE_TITLE, "x");
  dialog->GoToPage(2);
  EXPECT_FALSE(shown(IDC_ENCODED_TICK));
  EXPECT_EQ(dialog->EncodingProgress()->value(), 0);
}

TEST_F(MainWindowTest, PageThreeFlagsSurviveLeavingAndComingBack) {
  dialog->GoToPage(3);
  Click(IDC_DISABLE_I_BUTTON);
  Click(IDC_ENABLE_LINK);
  Click(IDC_ENABLE_REDIRECT);
  Click(IDC_PAUSED_AT_START);
  dialog->ShowPublishedResult();
  dialog->GoToPage(1);
  for (int id : kConditional) EXPECT_FALSE(shown(id)) << id;
  dialog->GoToPage(3);
  for (int id : {IDC_LABEL_AFFILIATE_ID, IDC_AFFILIATE_ID, IDC_LABEL_HTTP, IDC_REDIRECT_URL,
                 IDC_PRELOAD_MOVIE, IDC_PUBLISHED_TICK})
    EXPECT_TRUE(shown(id)) << id;
  // Showing never enables: Preview and Get Code follow the published state only.
  EXPECT_TRUE(control(IDC_PREVIEW_PAGE)->isEnabled());
}

}  // namespace
