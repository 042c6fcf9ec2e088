// What the program keeps between runs: the settings file and the affiliate file (where they
// live: platform/user_files.h), read once at start-up and rewritten once on a confirmed exit.
#include "app/main_dialog.h"
#include "platform/prompter.h"
#include "platform/user_files.h"
#include "publish/advanced_dialog.h"
#include "store/affiliate_file.h"
#include "store/settings_file.h"

namespace {

const char kSaveQuestion[] = "Do you wish to save changes to the project before you exit?";

}  // namespace

void CMainDialog::LoadSettings() {
  settings_.affiliate_id->setText(
      store::ReadAffiliateId(platform::OwnFileToRead(store::kAffiliateFileName)));
  presets_.clear();
  custom_preset_ = store::EncodingPreset{};
  // The external locations come back switched off: only their addresses carry over.
  store::StoredSettings stored =
      store::ReadSettingsFile(platform::OwnFileToRead(store::kSettingsFileName));
  players_url_ = stored.players_url;
  videos_url_ = stored.videos_url;
  js_url_ = stored.js_url;
  publish_mp4_ = stored.publish_mp4;
  settings_.disable_i_button->setChecked(stored.disable_i_button);
  presets_ = std::move(stored.presets);
  settings_read_whole_ = stored.read_whole;
  settings_.preset->clear();
  settings_.preset->addItems(store::PresetNames(presets_));
  ApplyIButtonRule();
}

void CMainDialog::SaveSettings() {
  // A folder that cannot be written keeps the old files; the program says nothing.
  store::WriteAffiliateId(platform::OwnFileToWrite(store::kAffiliateFileName),
                          settings_.affiliate_id->text());
  // A settings file too large to be read whole holds more than the window knows of: writing
  // it from memory would drop every preset past the part read.
  if (!settings_read_whole_) return;
  store::StoredSettings stored;
  stored.disable_i_button = settings_.disable_i_button->isChecked();
  stored.players_url = players_url_;
  stored.videos_url = videos_url_;
  stored.js_url = js_url_;
  stored.publish_mp4 = publish_mp4_;
  stored.presets = presets_;
  store::WriteSettingsFile(platform::OwnFileToWrite(store::kSettingsFileName), stored);
}

bool CMainDialog::ConfirmExit() {
  if (modified_) {
    switch (platform::AskYesNoCancel(this, kSaveQuestion)) {
      case platform::Answer::Cancel:
        return false;
      case platform::Answer::Yes:
        // The user asked to keep the job: when it did not get saved (Save As cancelled, or
        // the file could not be written), the exit stops as with Cancel.
        if (!OnSave()) return false;
        break;
      default:
        break;
    }
  }
  SaveSettings();
  return true;
}

void CMainDialog::OnAdvancedOptions() {
  AdvancedDlg dialog(this, players_url_, videos_url_, js_url_, publish_mp4_);
  if (dialog.DoModal() == QDialog::Accepted) InvalidateResults();
}
