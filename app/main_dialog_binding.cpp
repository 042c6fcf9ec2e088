// The main window's change handlers and the rules by which one control enables, shows or hides
// others. Every change the user makes ends in InvalidateResults: a changed job must be encoded
// and published again.
#include <QCheckBox>
#include <QMenuBar>
#include <QShortcut>

#include "app/main_dialog.h"
#include "app/page_controls.h"
#include "app/support_page.h"
#include "encode/encoding_run.h"
#include "encode/input_browse.h"
#include "publish/output_folder_browse.h"
#include "res/resource.h"
#include "ui/choice_group.h"
#include "ui/control_group.h"
#include "ui/skin_button.h"
#include "ui/skin_progress.h"

void CMainDialog::ConnectHandlers() {
  for (int id : {IDC_INPUT_VIDEO, IDC_INPUT_FLV, IDC_OUTPUT_FOLDER, IDC_OUTPUT_VIDEO,
                 IDC_OUTPUT_HTML, IDC_PAGE_TITLE, IDC_AFFILIATE_ID})
    connect(ControlAs<QLineEdit>(id), &QLineEdit::textChanged, this, &CMainDialog::OnEditUpdate);

  // Preload Movie changes what the page tells the player, so it counts as a change too.
  for (int id : {IDC_SHOW_BORDER, IDC_PRELOAD_MOVIE})
    connect(ControlAs<QAbstractButton>(id), &QAbstractButton::clicked, this,
            &CMainDialog::InvalidateResults);
  connect(settings_.paused_at_start, &QAbstractButton::clicked, this,
          &CMainDialog::OnPausedAtStart);
  MakeOneTabStop({settings_.mono, settings_.stereo});
  GroupControls({settings_.mono, settings_.stereo}, QAccessible::Grouping,
                QStringLiteral("Audio Channels"));
  connect(settings_.disable_i_button, &QAbstractButton::clicked, this,
          &CMainDialog::ApplyIButtonRule);
  connect(settings_.enable_link, &QAbstractButton::clicked, this, &CMainDialog::OnAffiliateLink);
  connect(settings_.enable_redirect_url, &QAbstractButton::clicked, this,
          &CMainDialog::OnRedirectUrl);
  connect(settings_.enabled_audio, &QAbstractButton::clicked, this, &CMainDialog::OnEnableAudio);

  // Only a pick by the user counts (activated), never a row set by the program.
  for (QAbstractButton* radio : {settings_.mono, settings_.stereo})
    connect(radio, &QAbstractButton::clicked, this, &CMainDialog::OnEncodingChoice);
  for (QComboBox* list : {settings_.sampling_rate, settings_.audio_bitrate, settings_.resolution,
                          settings_.frame_rate, settings_.video_bitrate, settings_.buffer_size})
    connect(list, &QComboBox::activated, this, &CMainDialog::OnEncodingChoice);
  connect(settings_.preset, &QComboBox::activated, this, &CMainDialog::ApplyPreset);
  connect(SkinButton(IDC_DELETE_PRESET), &QAbstractButton::clicked, this,
          &CMainDialog::DeleteSelectedPreset);
  connect(SkinButton(IDC_ADD_PRESET), &QAbstractButton::clicked, this, &CMainDialog::OnAddPreset);
  connect(SkinButton(IDC_ADVANCED_OPTIONS), &QAbstractButton::clicked, this,
          &CMainDialog::OnAdvancedOptions);
  connect(SkinButton(IDC_OPEN), &QAbstractButton::clicked, this, &CMainDialog::OnOpen);
  connect(SkinButton(IDC_SAVE), &QAbstractButton::clicked, this, &CMainDialog::OnSave);
  connect(SkinButton(IDC_SAVE_AS), &QAbstractButton::clicked, this, &CMainDialog::OnSaveAs);

  const std::pair<int, int> tabs[] = {
      {IDC_TAB_FILES, 1}, {IDC_TAB_ENCODING, 2}, {IDC_TAB_PUBLISH, 3}};
  for (auto [id, page] : tabs) {
    // The page tabs are in the tab order, ahead of the page, and Space presses them.
    Control(id)->setFocusPolicy(Qt::TabFocus);
    connect(ControlAs<QAbstractButton>(id), &QAbstractButton::clicked, this,
            [this, page = page] { GoToPage(page); });
  }
  // A screen reader meets them as a tab list, the shown page's tab selected.
  GroupControls({Control(IDC_TAB_FILES), Control(IDC_TAB_ENCODING), Control(IDC_TAB_PUBLISH)},
                QAccessible::PageTabList, QStringLiteral("Steps"));
  // Ctrl+Tab and Ctrl+Shift+Tab switch pages as in a tab control, round from the last to the first.
  const std::pair<QKeySequence, int> page_keys[] = {
      {QKeySequence(Qt::CTRL | Qt::Key_Tab), 1},
      {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), -1},
      {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), -1}};
  for (const auto& [keys, step] : page_keys)
    connect(new QShortcut(keys, this), &QShortcut::activated, this,
            [this, step = step] { GoToPage((current_page_ - 1 + step + 3) % 3 + 1); });
  connect(SkinButton(IDC_BACK), &QAbstractButton::clicked, this, &CMainDialog::OnBack);
  connect(SkinButton(IDC_NEXT), &QAbstractButton::clicked, this, &CMainDialog::OnNext);
  connect(SkinButton(IDC_EXIT), &QAbstractButton::clicked, this, &CMainDialog::OnExitButton);

  connect(SkinButton(IDC_HELP), &QAbstractButton::clicked, this, [this] { OpenSupportPage(this); });
  // There is no sign-up of our own: Join Now explains the affiliate link in the help page.
  connect(SkinButton(IDC_JOIN_NOW), &QAbstractButton::clicked, this,
          [this] { OpenSupportPage(this, QStringLiteral("affiliate")); });
  // What a screen reader says after a control's name and value: what the button beside Enable
  // Affiliate Link is for, and the unit that stands after the buffer's value.
  SkinButton(IDC_JOIN_NOW)->setAccessibleDescription(
      QStringLiteral("About the affiliate link, in the help page"));
  Control(IDC_BUFFER_SIZE)->setAccessibleDescription(QStringLiteral("seconds"));

  connect(SkinButton(IDC_BROWSE_VIDEO), &QAbstractButton::clicked, this, [this] {
    const auto chosen =
        encode::BrowseForMovie(this, settings_.input_video->text(), settings_.output_folder->text(),
                               settings_.output_html->text());
    if (chosen) ApplyInputSelection(*chosen);
  });
  connect(SkinButton(IDC_BROWSE_FLV), &QAbstractButton::clicked, this, [this] {
    const auto chosen =
        encode::BrowseForFlv(this, settings_.input_flv->text(), settings_.output_folder->text(),
                             settings_.output_html->text());
    if (chosen) ApplyInputSelection(*chosen);
  });
  connect(SkinButton(IDC_BROWSE_FOLDER), &QAbstractButton::clicked, this,
          &CMainDialog::OnBrowseOutputFolder);
  connect(SkinButton(IDC_START_ENCODING), &QAbstractButton::clicked, this,
          &CMainDialog::OnStartEncoding);
}

// The encoding run reports; the window shows. The window takes no input while the run is busy.
void CMainDialog::ConnectEncodingRun() {
  using encode::EncodingRun;
  connect(encoding_run_, &EncodingRun::OutputNameCompleted, this,
          [this](const QString& name) { WriteEditText(settings_.output_video, name); });
  connect(encoding_run_, &EncodingRun::ProgressChanged, this,
          [this](int percent) { EncodingProgress()->setValue(percent); });
  connect(encoding_run_, &EncodingRun::BusyChanged, this, &CMainDialog::ShowRunning);
  connect(encoding_run_, &EncodingRun::Succeeded, this, &CMainDialog::ShowEncodedResult);
}

void CMainDialog::ShowRunning(bool running) {
  CSkinButton* start = SkinButton(IDC_START_ENCODING);
  if (running) {
    // Only what is usable now is held, so that the end of the run gives back exactly that.
    held_while_running_.clear();
    QList<QWidget*> parts = client_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    parts << menu_bar_;
    for (QWidget* part : parts) {
      if (part == start || !part->isEnabled()) continue;
      part->setEnabled(false);
      held_while_running_ << part;
    }
    start->SetBitmaps(IDB_STOP, IDB_STOP_PRESSED, IDB_STOP_HOVER, -1);
    start->setAccessibleName(QStringLiteral("Stop Encoding"));
    return;
  }
  for (const QPointer<QWidget>& part : std::as_const(held_while_running_))
    if (part) part->setEnabled(true);
  held_while_running_.clear();
  start->SetBitmaps(IDB_START, IDB_START_PRESSED, IDB_START_HOVER, IDB_START_DISABLED);
  start->setAccessibleName(QStringLiteral("Start Encoding"));
}

// Writes a choice of Browse into the page-1 fields, in the order the user sees them change.
void CMainDialog::ApplyInputSelection(const encode::InputSelection& selection) {
  WriteEditText(settings_.output_folder, selection.output_folder);
  if (settings_.output_html->text() != selection.output_html)
    WriteEditText(settings_.output_html, selection.output_html);
  WriteEditText(settings_.input_video, selection.input_video);
  WriteEditText(settings_.output_video, selection.output_video);
  WriteEditText(settings_.input_flv, selection.input_flv);
  settings_.which_file = selection.which_file;
  EnableEncodingControls(selection.encoding_enabled);
}

void CMainDialog::OnBrowseOutputFolder() {
  const QString folder = publish::BrowseForOutputFolder(this, settings_.output_folder->text());
  if (folder.isEmpty()) return;
  WriteEditText(settings_.output_folder, folder);
  if (settings_.output_html->text().trimmed().isEmpty())
    WriteEditText(settings_.output_html, QString::fromUtf8(publish::kDefaultPageName));
}

void CMainDialog::SetVisible(int id, bool visible) {
  Control(id)->setVisible(visible);
}

void CMainDialog::WriteEditText(QLineEdit* edit, const QString& text) {
  if (edit->text() == text)
    OnEditUpdate();
  else
    edit->setText(text);
}

void CMainDialog::OnEditUpdate() {
  InvalidateResults();
}

void CMainDialog::InvalidateResults() {
  SetVisible(IDC_PUBLISHED_TICK, false);
  Control(IDC_PREVIEW_PAGE)->setEnabled(false);
  Control(IDC_GET_CODE)->setEnabled(false);
  SetVisible(IDC_ENCODED_TICK, false);
  EncodingProgress()->setValue(0);
  encoded_ = false;
  modified_ = true;
  published_ = false;
}

void CMainDialog::ShowEncodedResult() {
  SetVisible(IDC_ENCODED_TICK, current_page_ == 2);
  encoded_ = true;
}

void CMainDialog::ShowPublishedResult() {
  SetVisible(IDC_PUBLISHED_TICK, current_page_ == 3);
  published_ = true;
  Control(IDC_PREVIEW_PAGE)->setEnabled(true);
  Control(IDC_GET_CODE)->setEnabled(true);
}

// Delete Preset is usable exactly when a preset is chosen, even while the rest of the page is
// greyed (a project opened without a video to encode still names its preset); only switching
// the page's controls off greys it with them (EnableEncodingControls).
void CMainDialog::UpdateDeletePreset() {
  Control(IDC_DELETE_PRESET)->setEnabled(settings_.preset->currentIndex() >= 0);
}

void CMainDialog::EnableEncodingControls(bool on) {
  encoding_enabled_ = on;
  // Every control of the encoding page; Delete Preset has its own rule below.
  for (int id : EncodingPageControls())
    if (id != IDC_DELETE_PRESET) Control(id)->setEnabled(on);
  Control(IDC_DELETE_PRESET)->setEnabled(on && settings_.preset->currentIndex() >= 0);
  SetVisible(IDC_ENCODED_TICK, false);
  EncodingProgress()->setValue(0);
}

void CMainDialog::CaptureCustomEncoding() {
  UpdateDeletePreset();
  if (settings_.preset->currentIndex() >= 0) return;
  // The custom record keeps its name; the seven values are what the controls show.
  const QString name = custom_preset_.name;
  custom_preset_ = store::EncodingValuesOf(JobFromControls());
  custom_preset_.name = name;
}

void CMainDialog::ApplyIButtonRule() {
  const bool on = !settings_.disable_i_button->isChecked();
  for (int id : {IDC_ENABLE_LINK, IDC_LABEL_AFFILIATE_ID, IDC_AFFILIATE_ID})
    Control(id)->setEnabled(on);
  InvalidateResults();
}

void CMainDialog::OnEncodingChoice() {
  settings_.preset->setCurrentIndex(-1);
  CaptureCustomEncoding();
  InvalidateResults();
}

void CMainDialog::OnEnableAudio() {
  CaptureCustomEncoding();
  InvalidateResults();
}

void CMainDialog::OnPausedAtStart() {
  SetVisible(IDC_PRELOAD_MOVIE, settings_.paused_at_start->isChecked());
  InvalidateResults();
}

void CMainDialog::OnAffiliateLink() {
  affiliate_enabled_ = settings_.enable_link->isChecked();
  SetVisible(IDC_LABEL_AFFILIATE_ID, affiliate_enabled_);
  SetVisible(IDC_AFFILIATE_ID, affiliate_enabled_);
  if (affiliate_enabled_) settings_.affiliate_id->setFocus();
  InvalidateResults();
}

void CMainDialog::OnRedirectUrl() {
  redirect_enabled_ = settings_.enable_redirect_url->isChecked();
  SetVisible(IDC_LABEL_HTTP, redirect_enabled_);
  SetVisible(IDC_REDIRECT_URL, redirect_enabled_);
  if (redirect_enabled_) settings_.redirect_url->setFocus();
  InvalidateResults();
}
