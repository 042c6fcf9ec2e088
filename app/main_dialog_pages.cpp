// The three pages of the main window and the ways between them. Leaving a page checks nothing.
#include "app/main_dialog.h"
#include "app/page_controls.h"
#include "res/resource.h"
#include "ui/page_tab_button.h"
#include "ui/skin_progress.h"

namespace {

constexpr int kFilesPage[] = {
    IDC_LABEL_OUTPUT_VIDEO, IDC_LABEL_OUTPUT_HTML, IDC_LABEL_OUTPUT_FOLDER, IDC_LABEL_INPUT_VIDEO,
    IDC_LABEL_INPUT_FLV,    IDC_OUTPUT_VIDEO,      IDC_OUTPUT_HTML,         IDC_OUTPUT_FOLDER,
    IDC_INPUT_VIDEO,        IDC_INPUT_FLV,         IDC_BROWSE_FOLDER,       IDC_BROWSE_VIDEO,
    IDC_BROWSE_FLV};

// Page 3's controls that always go with the page; the others depend on a flag as well.
constexpr int kPublishPage[] = {IDC_PLAYER_NAME,    IDC_LABEL_PAGE_TITLE,  IDC_PAGE_TITLE,
                                IDC_ENABLE_LINK,    IDC_PREVIEW_PAGE,      IDC_GET_CODE,
                                IDC_PRODUCE_PAGE,   IDC_CUSTOMIZE_PLAYER,  IDC_ADVANCED_OPTIONS,
                                IDC_LABEL_SECONDS,  IDC_LABEL_BUFFER_SIZE, IDC_BUFFER_SIZE,
                                IDC_PLAYER_PREVIEW, IDC_PAUSED_AT_START,   IDC_DISABLE_I_BUTTON,
                                IDC_SHOW_BORDER,    IDC_ENABLE_REDIRECT,   IDC_JOIN_NOW};

struct PageTab {
  int id;
  int page;
};
constexpr PageTab kPageTabs[] = {{IDC_TAB_FILES, 1}, {IDC_TAB_ENCODING, 2}, {IDC_TAB_PUBLISH, 3}};

int PageBitmap(int page) {
  switch (page) {
    case 2:
      return IDB_PAGE_ENCODING;
    case 3:
      return IDB_PAGE_PUBLISH;
    default:
      return IDB_PAGE_FILES;
  }
}

}  // namespace

void CMainDialog::GoToPage(int page) {
  if (page == current_page_ || page < 1 || page > 3) return;
  switch (current_page_) {
    case 1:
      ShowFilesPage(false);
      break;
    case 2:
      ShowEncodingPage(false);
      break;
    case 3:
      ShowPublishPage(false);
      break;
  }
  current_page_ = page;
  switch (current_page_) {
    case 1:
      ShowFilesPage(true);
      break;
    case 2:
      ShowEncodingPage(true);
      break;
    case 3:
      ShowPublishPage(true);
      break;
  }
  background_id_ = PageBitmap(page);
  MarkShownPageTab();
  // The keyboard stays where one sees it: on the tab of the page now shown, not on a control
  // of the page left behind, and a screen reader says which page that is.
  for (const PageTab& tab : kPageTabs)
    if (tab.page == page) Control(tab.id)->setFocus(Qt::TabFocusReason);
  client_->update();
}

void CMainDialog::MarkShownPageTab() {
  for (const PageTab& tab : kPageTabs) {
    auto* button = ControlAs<CPageTabButton>(tab.id);
    button->SetBackground(background_id_);
    button->SetShown(tab.page == current_page_);
  }
}

void CMainDialog::ShowFilesPage(bool show) {
  for (int id : kFilesPage) SetVisible(id, show);
  SetVisible(IDC_BACK, false);
  SetVisible(IDC_NEXT, true);
}

void CMainDialog::ShowEncodingPage(bool show) {
  for (int id : EncodingPageControls()) SetVisible(id, show);
  SetVisible(IDC_ENCODED_TICK, show && encoded_);
  EncodingProgress()->setValue(show && encoded_ ? 100 : 0);
  SetVisible(IDC_BACK, true);
  SetVisible(IDC_NEXT, true);
}

void CMainDialog::ShowPublishPage(bool show) {
  for (int id : kPublishPage) SetVisible(id, show);
  SetVisible(IDC_LABEL_AFFILIATE_ID, show && affiliate_enabled_);
  SetVisible(IDC_AFFILIATE_ID, show && affiliate_enabled_);
  SetVisible(IDC_PRELOAD_MOVIE, show && settings_.paused_at_start->isChecked());
  SetVisible(IDC_PUBLISHED_TICK, show && published_);
  SetVisible(IDC_REDIRECT_URL, show && redirect_enabled_);
  SetVisible(IDC_LABEL_HTTP, show && redirect_enabled_);
  SetVisible(IDC_BACK, true);
  SetVisible(IDC_NEXT, false);
}

void CMainDialog::OnBack() {
  GoToPage(current_page_ - 1);
}

void CMainDialog::OnNext() {
  if (settings_.which_file == 2)
    GoToPage(3);
  else
    GoToPage(current_page_ + 1);
}
