// The job of the main window as one record: read from the controls at the moment of use
// (JobFromControls), and from there saved into a project file (store/project_writer), handed to
// the encoder (encode::EncoderJobFor) or kept as the custom encoding values. Opening a project
// applies each recognised line in file order, with the same rule as on plain values
// (store::ApplyProjectLine), and shows the field it set in its control at once.
#include <QDir>
#include <variant>

#include "app/list_contents.h"
#include "app/main_dialog.h"
#include "encode/encoder_command_line.h"
#include "encode/encoding_run.h"
#include "platform/picker_start.h"
#include "platform/prompter.h"
#include "store/project_file_type.h"
#include "store/project_reader.h"
#include "store/project_writer.h"

namespace {

const char kInvalidProject[] = "\n\nInvalid REEL project file.";
const char kCannotSave[] = "\n\nCan't save the project file.";
const char kNotStored[] =
    "The project was saved, but the project file cannot hold these values, so they were saved "
    "empty:\n";

using Key = store::ProjectKey;
using Job = store::ProjectSnapshot;
using Edit = QLineEdit* ProjectSettings::*;
using List = QComboBox* ProjectSettings::*;
using Box = QAbstractButton* ProjectSettings::*;

// The control of every key that is one control's text, row or check state. The others (the
// preset, the buffer time, which file and which player, the external locations) need code of
// their own, below, and so do some of these when shown (see ShowLoadedLine).
struct KeyControl {
  Key key;
  std::variant<Edit, List, Box> control;
};
const KeyControl kKeyControls[] = {
    {Key::Title, &ProjectSettings::page_title},
    {Key::InputVideo, &ProjectSettings::input_video},
    {Key::InputFlv, &ProjectSettings::input_flv},
    {Key::OutputFolder, &ProjectSettings::output_folder},
    {Key::OutputVideo, &ProjectSettings::output_video},
    {Key::OutputHtml, &ProjectSettings::output_html},
    {Key::Resolution, &ProjectSettings::resolution},
    {Key::FrameRate, &ProjectSettings::frame_rate},
    {Key::VideoBitrate, &ProjectSettings::video_bitrate},
    {Key::AudioBitrate, &ProjectSettings::audio_bitrate},
    {Key::SamplingRate, &ProjectSettings::sampling_rate},
    {Key::EnableAudio, &ProjectSettings::enabled_audio},
    {Key::AudioMono, &ProjectSettings::mono},
    {Key::PausedAtStart, &ProjectSettings::paused_at_start},
    {Key::PreloadMovie, &ProjectSettings::preload_movie},
    {Key::DisableIButton, &ProjectSettings::disable_i_button},
    {Key::ShowBorder, &ProjectSettings::show_border},
    {Key::EnableLink, &ProjectSettings::enable_link},
    {Key::AffiliateId, &ProjectSettings::affiliate_id},
    {Key::EnableRedirectUrl, &ProjectSettings::enable_redirect_url},
    {Key::RedirectUrl, &ProjectSettings::redirect_url},
};

const KeyControl* ControlOf(Key key) {
  for (const KeyControl& entry : kKeyControls)
    if (entry.key == key) return &entry;
  return nullptr;
}

template <typename Value>
Value Job::*FieldAs(Key key) {
  return std::get<Value Job::*>(store::FieldOf(key));
}

// The name the user knows a text field by, for the keys whose value the file may not carry.
QString FieldName(Key key) {
  switch (key) {
    case Key::Title:
      return QStringLiteral("Page title");
    case Key::InputVideo:
      return QStringLiteral("Input video");
    case Key::InputFlv:
      return QStringLiteral("Existing FLV");
    case Key::OutputFolder:
      return QStringLiteral("Output folder");
    case Key::OutputVideo:
      return QStringLiteral("FLV file name");
    case Key::OutputHtml:
      return QStringLiteral("Page file name");
    case Key::Preset:
      return QStringLiteral("Preset");
    case Key::AffiliateId:
      return QStringLiteral("Affiliate ID");
    case Key::RedirectUrl:
      return QStringLiteral("Redirect address");
    case Key::PlayersUrl:
      return QStringLiteral("Players location (Advanced Options)");
    case Key::VideosUrl:
      return QStringLiteral("Videos location (Advanced Options)");
    case Key::JsUrl:
      return QStringLiteral("JavaScript file (Advanced Options)");
    default:
      return QString::fromLatin1(store::InfoOf(key).text).remove(u'=');
  }
}

// The part of the path after its last separator; the whole path when it has none.
QString FileNameOf(const QString& path) {
  const int separator = qMax(path.lastIndexOf('/'), path.lastIndexOf('\\'));
  return path.mid(separator + 1);
}

}  // namespace

store::ProjectSnapshot CMainDialog::JobFromControls() const {
  Job job;
  for (const KeyControl& entry : kKeyControls) {
    if (const auto* edit = std::get_if<Edit>(&entry.control))
      job.*FieldAs<QString>(entry.key) = (settings_.**edit)->text();
    else if (const auto* list = std::get_if<List>(&entry.control))
      job.*FieldAs<int>(entry.key) = (settings_.**list)->currentIndex();
    else
      job.*FieldAs<bool>(entry.key) = (settings_.*std::get<Box>(entry.control))->isChecked();
  }
  job.preset_name = settings_.preset->currentIndex() >= 0 ? settings_.preset->currentText() : "";
  // The file keeps a row: a typed buffer time that is one of the rows is kept as that row.
  const int typed_row = settings_.buffer_size->findText(settings_.buffer_size->currentText());
  job.buffer_size = typed_row >= 0 ? typed_row : settings_.buffer_size->currentIndex();
  job.which_file = settings_.which_file;
  job.which_player = settings_.which_player;
  job.players_url = players_url_;
  job.videos_url = videos_url_;
  job.js_url = js_url_;
  return job;
}

void CMainDialog::SetCurrentProject(const QString& path) {
  project_path_ = path;
  modified_ = false;
  setWindowTitle(path.isEmpty() ? QStringLiteral("Reelwright")
                                : QStringLiteral("Reelwright - ") + FileNameOf(path));
}

void CMainDialog::OpenProject(const QString& path) {
  if (!LoadProject(path)) {
    platform::ShowProgramMessage(this, path + kInvalidProject);
    return;
  }
  SetCurrentProject(path);
}

bool CMainDialog::LoadProject(const QString& path) {
  const std::optional<std::vector<store::ProjectLine>> lines = store::ReadProjectLines(path);
  if (!lines) return false;
  Job job = JobFromControls();
  job.preset_name.clear();  // only a PRESET line of this file chooses a preset
  for (const store::ProjectLine& line : *lines) {
    store::ApplyProjectLine(line, job);
    ShowLoadedLine(line, job);
  }
  settings_.preset->setCurrentIndex(-1);
  CaptureCustomEncoding();
  if (const auto placement = store::PlaceProjectPreset(presets_, custom_preset_, job.preset_name))
    ApplyPresetPlacement(*placement);
  return true;
}

// Shows in its control the field that `line` has just set in `job`.
void CMainDialog::ShowLoadedLine(const store::ProjectLine& line,
                                 const store::ProjectSnapshot& job) {
  switch (line.key) {
    case Key::Preset:  // chosen once the whole file is read
      return;
    case Key::BufferSize:
      if (line.number)
        settings_.buffer_size->setCurrentIndex(RowOrNone(settings_.buffer_size, job.buffer_size));
      return;
    case Key::AudioMono:
      (job.mono ? settings_.mono : settings_.stereo)->setChecked(true);
      return;
    // Written plainly: the redirect address has no change handler.
    case Key::RedirectUrl:
      settings_.redirect_url->setText(job.redirect_url);
      return;
    // The flags follow their boxes on every page, so page 3 shows the fields that go with
    // them when it is next shown; on page 3 the boxes' rules run at once.
    case Key::PausedAtStart:
      settings_.paused_at_start->setChecked(job.paused_at_start);
      if (current_page_ == 3) OnPausedAtStart();
      return;
    case Key::EnableLink:
      settings_.enable_link->setChecked(job.enable_link);
      affiliate_enabled_ = job.enable_link;
      if (current_page_ == 3) OnAffiliateLink();
      return;
    case Key::EnableRedirectUrl:
      settings_.enable_redirect_url->setChecked(job.enable_redirect_url);
      redirect_enabled_ = job.enable_redirect_url;
      if (current_page_ == 3) OnRedirectUrl();
      return;
    case Key::WhichFile:
      if (!line.number) return;
      settings_.which_file = job.which_file;
      if (job.which_file == 1) EnableEncodingControls(true);
      return;
    case Key::WhichPlayer:
      settings_.which_player = job.which_player;
      // Only a player of the list is shown; any other number is kept but selects nothing.
      if (publish::IsValidPlayerIndex(player_list_, job.which_player)) {
        ShowChosenPlayer();
        repaint();
      }
      return;
    case Key::PlayersUrl:
      players_url_ = job.players_url;
      return;
    case Key::VideosUrl:
      videos_url_ = job.videos_url;
      return;
    case Key::JsUrl:
      js_url_ = job.js_url;
      return;
    default:
      break;
  }
  // One control's text, row or check state. Only the box is set for Disable i Button: the
  // affiliate controls keep their state until the box is next clicked.
  const KeyControl* entry = ControlOf(line.key);
  if (const auto* edit = std::get_if<Edit>(&entry->control)) {
    WriteEditText(settings_.**edit, job.*FieldAs<QString>(line.key));
  } else if (const auto* list = std::get_if<List>(&entry->control)) {
    if (line.number) {
      QComboBox* combo = settings_.**list;
      combo->setCurrentIndex(RowOrNone(combo, job.*FieldAs<int>(line.key)));
    }
  } else {
    (settings_.*std::get<Box>(entry->control))->setChecked(job.*FieldAs<bool>(line.key));
  }
}

bool CMainDialog::SaveProjectTo(const QString& path) {
  std::vector<Key> emptied;
  const QString text = store::ProjectFileText(JobFromControls(), &emptied);
  if (!store::SaveProjectFile(path, text)) {
    platform::ShowProgramMessage(this, QDir::toNativeSeparators(path) + kCannotSave);
    return false;
  }
  SetCurrentProject(path);
  // The file is saved, but not all of the job: say what will come back empty.
  if (!emptied.empty()) {
    QStringList names;
    for (Key key : emptied) names << FieldName(key);
    platform::ShowProgramMessage(this, kNotStored + names.join(u'\n'));
  }
  return true;
}

void CMainDialog::OnStartEncoding() {
  // The same button stops a run that goes.
  if (encoding_run_->running()) {
    encoding_run_->Stop();
    return;
  }
  encoding_run_->StartEncoding(encode::EncoderJobFor(JobFromControls()));
}

void CMainDialog::OnOpen() {
  const QString path = platform::CurrentPrompter().ChooseOpenFile(
      this, store::kOpenProjectTitle, store::ProjectFileFilters(),
      platform::PickerStartFolder(project_path_));
  if (path.isEmpty()) return;
  platform::RememberPickerChoice(path);
  OpenProject(QDir::toNativeSeparators(path));
}

bool CMainDialog::OnSave() {
  return project_path_.isEmpty() ? OnSaveAs() : SaveProjectTo(project_path_);
}

bool CMainDialog::OnSaveAs() {
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
  return !path.isEmpty() && SaveProjectTo(QDir::toNativeSeparators(path));
}
