// The player page's actions: Produce Web Page, Preview Web Page, Get Code and Customize Player,
// and the choice of player shown on the page. The window reads the job from its controls, hands
// plain values to publish/ and writes the results back into its boxes.
#include <QApplication>
#include <QDir>
#include <QLabel>

#include "app/main_dialog.h"
#include "encode/encoder_command_line.h"
#include "platform/desktop.h"
#include "platform/program_folder.h"
#include "platform/prompter.h"
#include "publish/customize_player_dialog.h"
#include "publish/get_code.h"
#include "publish/get_code_dialog.h"
#include "publish/output_files.h"
#include "publish/player_picture.h"
#include "publish/player_skin.h"
#include "publish/preview_server.h"
#include "publish/publish_job.h"
#include "res/bitmaps.h"
#include "res/resource.h"

namespace {

// The wait cursor while an action holds the window; taken down however the action ends.
class WaitCursor {
 public:
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

}  // namespace

publish::PublishJob CMainDialog::PublishJobFromControls() const {
  publish::PublishJob job =
      publish::PublishJobFor(JobFromControls(), platform::ProgramFolder(), player_list_);
  // The player is told the buffer time as the box holds it, also a time typed there.
  job.flash_vars.buffer_size = settings_.buffer_size->currentText();
  job.publish_mp4_twin = publish_mp4_;
  return job;
}

void CMainDialog::OnProducePage() {
  const WaitCursor wait;
  // Writing the names back runs the boxes' change handlers, which clear `encoded`.
  const bool was_encoded = encoded_;
  const publish::PublishResult result = publish::PublishPage(
      PublishJobFromControls(),
      publish::PublishTools::Real(platform::ProgramFolder(), [this](const QString& text) {
        platform::ShowProgramMessage(this, text);
      }));
  if (result.output_video) WriteEditText(settings_.output_video, *result.output_video);
  if (result.output_html) WriteEditText(settings_.output_html, *result.output_html);
  // The redirect box has no change handler: its cleaned text changes nothing else.
  if (result.redirect_url) settings_.redirect_url->setText(*result.redirect_url);
  generated_html_ = result.generated_html;
  generated_script_ = result.generated_script;
  if (!result.published) return;
  ShowPublishedResult();
  encoded_ = was_encoded;
}

void CMainDialog::ConnectPublishHandlers() {
  const std::pair<int, void (CMainDialog::*)()> handlers[] = {
      {IDC_PRODUCE_PAGE, &CMainDialog::OnProducePage},
      {IDC_PREVIEW_PAGE, &CMainDialog::OnPreviewPage},
      {IDC_GET_CODE, &CMainDialog::OnGetCode},
      {IDC_CUSTOMIZE_PLAYER, &CMainDialog::OnCustomizePlayer},
  };
  for (auto [id, handler] : handlers)
    connect(ControlAs<QAbstractButton>(id), &QAbstractButton::clicked, this, handler);
}

void CMainDialog::OnPreviewPage() {
  QString folder;
  if (!encode::OutputFolderExists(settings_.output_folder->text(), &folder)) {
    platform::ShowProgramMessage(this, "Specified output folder does not exist!");
    return;
  }
  if (publish::PreviewWarns(players_url_.enabled(), videos_url_.enabled(), js_url_.enabled(),
                            js_url_.url()))
    platform::ShowProgramMessage(this, publish::PreviewWarningText());
  // A page opened from a file address cannot load the web runtime: the folder is served on
  // the loopback address instead, by a server on threads of its own.
  if (!preview_server_) preview_server_ = std::make_unique<publish::PreviewServer>();
  const int port = preview_server_->Serve(folder);
  const QString page = settings_.output_html->text();
  // Without a server the page still opens from its file, if without its player.
  const QUrl address = port != 0 ? QUrl(publish::PreviewAddress(port, page))
                                 : QUrl::fromLocalFile(QDir(folder).filePath(page));
  platform::OpenOrTellWhy(this, address);
}

void CMainDialog::StopPreview() {
  if (preview_server_) preview_server_->Stop();
}

void CMainDialog::OnGetCode() {
  CGetCodeDialog dialog(this, publish::GetCodeText(generated_html_));
  dialog.DoModal();
}

void CMainDialog::ShowPlayerPreview(int index) {
  if (!publish::IsValidPlayerIndex(player_list_, index)) return;
  publish::ShowPlayerPicture(ControlAs<QLabel>(IDC_PLAYER_PREVIEW), platform::ProgramFolder(),
                             player_list_[static_cast<size_t>(index)]);
}

// The chosen player's picture and name on the player page.
void CMainDialog::ShowChosenPlayer() {
  const int index = settings_.which_player;
  ShowPlayerPreview(index);
  auto* label = ControlAs<QLabel>(IDC_PLAYER_NAME);
  label->setText(" ");
  label->setText(
      publish::PlayerSelectedLabel(player_list_[static_cast<size_t>(index)].display_name));
}

void CMainDialog::SelectFirstPlayer() {
  // With no player found the picture stays empty over the page's framed placeholder: its first
  // image would be the Produce Web Page button's face, which looks broken stretched there.
  ControlAs<QLabel>(IDC_PLAYER_PREVIEW)->clear();
  player_list_.clear();
  publish::ScanPlayerSkins(player_list_, platform::ProgramFolder());
  if (player_list_.empty()) return;  // the default player.swf is published
  settings_.which_player = 0;
  ShowChosenPlayer();
}

void CMainDialog::OnCustomizePlayer() {
  // Players added to the resources folder since the last scan appear.
  player_list_.clear();
  publish::ScanPlayerSkins(player_list_, platform::ProgramFolder());
  CCustomizePlayerDialog dialog(this, player_list_, settings_.which_player,
                                platform::ProgramFolder());
  if (dialog.DoModal() == QDialog::Accepted) {
    settings_.which_player = dialog.selection();
    if (publish::IsValidPlayerIndex(player_list_, settings_.which_player)) {
      InvalidateResults();
      ShowChosenPlayer();
    }
  }
  repaint();
}
