// Project files: a whole job in a file, opened from the command line or with Open, written with
// Save and Save As. Opening applies each recognised line to its control at once, in file order.
#include <QDir>

#include "app/list_contents.h"
#include "app/main_dialog.h"
#include "platform/prompter.h"
#include "store/project_file_type.h"
#include "store/project_reader.h"
#include "store/project_snapshot.h"
#include "store/project_writer.h"

namespace {

const char kInvalidProject[] = "\n\nInvalid REEL project file.";
const char kCannotSave[] = "\n\nCan't save the project file.";

// The part of the path after its last separator; the whole path when it has none.
QString FileNameOf(const QString& path) {
  const int separator = qMax(path.lastIndexOf('/'), path.lastIndexOf('\\'));
  return path.mid(separator + 1);
}

void SelectRow(QComboBox* list, const std::optional<int>& row) {
  if (row) list->setCurrentIndex(RowOrNone(list, *row));
}

}  // namespace

void CMainDialog::OpenProject(const QString& path) {
  if (!LoadProject(path)) {
    platform::CurrentPrompter().ShowMessage(this, path + kInvalidProject);
    return;
  }
  project_path_ = path;
  setWindowTitle(QStringLiteral("Reelwright - ") + FileNameOf(path));
  modified_ = false;
}

bool CMainDialog::LoadProject(const QString& path) {
  const std::optional<std::vector<store::ProjectLine>> lines = store::ReadProjectLines(path);
  if (!lines) return false;
  QString preset_name;
  using Key = store::ProjectKey;
  for (const store::ProjectLine& line : *lines) {
    switch (line.key) {
      case Key::Title:
        WriteEditText(settings_.page_title, line.text);
        break;
      case Key::InputVideo:
        WriteEditText(settings_.input_video, line.text);
        break;
      case Key::InputFlv:
        WriteEditText(settings_.input_flv, line.text);
        break;
      case Key::OutputFolder:
        WriteEditText(settings_.output_folder, line.text);
        break;
      case Key::OutputVideo:
        WriteEditText(settings_.output_video, line.text);
        break;
      case Key::OutputHtml:
        WriteEditText(settings_.output_html, line.text);
        break;
      case Key::AffiliateId:
        WriteEditText(settings_.affiliate_id, line.text);
        break;
      case Key::RedirectUrl:
        settings_.redirect_url->setText(line.text);
        break;
      case Key::Preset:
        preset_name = line.text;
        break;
      case Key::Resolution:
        SelectRow(settings_.resolution, line.number);
        break;
      case Key::FrameRate:
        SelectRow(settings_.frame_rate, line.number);
        break;
      case Key::VideoBitrate:
        SelectRow(settings_.video_bitrate, line.number);
        break;
      case Key::AudioBitrate:
        SelectRow(settings_.audio_bitrate, line.number);
        break;
      case Key::SamplingRate:
        SelectRow(settings_.sampling_rate, line.number);
        break;
      case Key::BufferSize:
        SelectRow(settings_.buffer_size, line.number);
        break;
      case Key::EnableAudio:
        settings_.enabled_audio->setChecked(line.flag);
        break;
      case Key::AudioMono:
        (line.flag ? settings_.mono : settings_.stereo)->setChecked(true);
        break;
      case Key::PreloadMovie:
        settings_.preload_movie->setChecked(line.flag);
        break;
      case Key::ShowBorder:
        settings_.show_border->setChecked(line.flag);
        break;
      // Only the box: the affiliate controls keep their state until the box is next clicked.
      case Key::DisableIButton:
        settings_.disable_i_button->setChecked(line.flag);
        break;
      case Key::PausedAtStart:
        settings_.paused_at_start->setChecked(line.flag);
        if (current_page_ == 3) OnPausedAtStart();
        break;
      // The flags follow their boxes on every page, so page 3 shows the fields that go with
      // them when it is next shown; on page 3 the boxes' rules run at once.
      case Key::EnableLink:
        settings_.enable_link->setChecked(line.flag);
        affiliate_enabled_ = line.flag;
        if (current_page_ == 3) OnAffiliateLink();
        break;
      case Key::EnableRedirectUrl:
        settings_.enable_redirect_url->setChecked(line.flag);
        redirect_enabled_ = line.flag;
        if (current_page_ == 3) OnRedirectUrl();
        break;
      case Key::WhichFile:
        if (line.number) {
          settings_.which_file = *line.number;
          if (*line.number == 1) EnableEncodingControls(true);
        }
        break;
      case Key::WhichPlayer:
        if (line.number) settings_.which_player = *line.number;
        break;
      case Key::PlayersUrl:
        players_url_.ParseUrlOptionLine(line.text);
        break;
      case Key::VideosUrl:
        videos_url_.ParseUrlOptionLine(line.text);
        break;
      case Key::JsUrl:
        js_url_.ParseUrlOptionLine(line.text);
        break;
    }
  }
  settings_.preset->setCurrentIndex(-1);
  CaptureCustomEncoding();
  if (const auto placement = store::PlaceProjectPreset(presets_, custom_preset_, preset_name))
    ApplyPresetPlacement(*placement);
  return true;
}

bool CMainDialog::SaveProjectTo(const QString& path) {
  store::ProjectSnapshot job;
  job.page_title = settings_.page_title->text();
  job.input_video = settings_.input_video->text();
  job.input_flv = settings_.input_flv->text();
  job.output_folder = settings_.output_folder->text();
  job.output_video = settings_.output_video->text();
  job.output_html = settings_.output_html->text();
  job.preset_name = settings_.preset->currentIndex() >= 0 ? settings_.preset->currentText() : "";
  job.resolution = settings_.resolution->currentIndex();
  job.frame_rate = settings_.frame_rate->currentIndex();
  job.video_bitrate = settings_.video_bitrate->currentIndex();
  job.audio_bitrate = settings_.audio_bitrate->currentIndex();
  job.sampling_rate = settings_.sampling_rate->currentIndex();
  // The file keeps a row: a typed buffer time that is one of the rows is kept as that row.
  const int typed_row = settings_.buffer_size->findText(settings_.buffer_size->currentText());
  job.buffer_size = typed_row >= 0 ? typed_row : settings_.buffer_size->currentIndex();
  job.enabled_audio = settings_.enabled_audio->isChecked();
  job.mono = settings_.mono->isChecked();
  job.paused_at_start = settings_.paused_at_start->isChecked();
  job.preload_movie = settings_.preload_movie->isChecked();
  job.disable_i_button = settings_.disable_i_button->isChecked();
  job.show_border = settings_.show_border->isChecked();
  job.enable_link = settings_.enable_link->isChecked();
  job.affiliate_id = settings_.affiliate_id->text();
  job.enable_redirect_url = settings_.enable_redirect_url->isChecked();
  job.redirect_url = settings_.redirect_url->text();
  job.which_file = settings_.which_file;
  job.which_player = settings_.which_player;
  job.players_url = players_url_;
  job.videos_url = videos_url_;
  job.js_url = js_url_;

  if (!store::SaveProjectFile(path, store::ProjectFileText(job))) {
    platform::CurrentPrompter().ShowMessage(this, QDir::toNativeSeparators(path) + kCannotSave);
    return false;
  }
  project_path_ = path;
  setWindowTitle(QStringLiteral("Reelwright - ") + FileNameOf(path));
  modified_ = false;
  return true;
}

void CMainDialog::OnOpen() {
  const QString path = platform::CurrentPrompter().ChooseOpenFile(this, store::kOpenProjectTitle,
                                                                  store::ProjectFileFilters());
  if (!path.isEmpty()) OpenProject(QDir::toNativeSeparators(path));
}

void CMainDialog::OnSave() {
  if (project_path_.isEmpty())
    OnSaveAs();
  else
    SaveProjectTo(project_path_);
}

void CMainDialog::OnSaveAs() {
  // Suggest the project beside the job's output, named after its video.
  QString suggested = project_path_;
  if (suggested.isEmpty()) {
    const QString folder = settings_.output_folder->text().trimmed();
    QString name = QFileInfo(settings_.output_video->text()).completeBaseName();
    if (name.isEmpty()) name = QStringLiteral("project");
    suggested = folder.isEmpty() ? name + ".reel" : QDir(folder).filePath(name + ".reel");
  }
  const QString path = platform::CurrentPrompter().ChooseSaveFile(
      this, store::kSaveProjectTitle, store::ProjectFileFilters(), suggested,
      store::kProjectFileSuffix);
  if (!path.isEmpty()) SaveProjectTo(QDir::toNativeSeparators(path));
}
