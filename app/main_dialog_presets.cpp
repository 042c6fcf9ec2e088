// The encoding presets of the main window: choosing one fills the encoding lists, Save Preset
// keeps what they show under a name, Delete Preset removes the chosen one. The preset list and
// the rows of the "Preset" list stay one to one.
#include "app/list_contents.h"
#include "app/main_dialog.h"
#include "app/new_preset_dialog.h"
#include "res/resource.h"

void CMainDialog::ApplyPreset() {
  const int row = settings_.preset->currentIndex();
  UpdateDeletePreset();
  if (row >= 0 && row < static_cast<int>(presets_.size())) {
    const store::EncodingPreset& preset = presets_[row];
    settings_.resolution->setCurrentIndex(RowOrNone(settings_.resolution, preset.resolution));
    settings_.frame_rate->setCurrentIndex(RowOrNone(settings_.frame_rate, preset.frame_rate));
    settings_.video_bitrate->setCurrentIndex(
        RowOrNone(settings_.video_bitrate, preset.video_bitrate));
    settings_.audio_bitrate->setCurrentIndex(
        RowOrNone(settings_.audio_bitrate, preset.audio_bitrate));
    settings_.sampling_rate->setCurrentIndex(
        RowOrNone(settings_.sampling_rate, preset.sampling_rate));
    settings_.enabled_audio->setChecked(preset.enabled_audio != 0);
    (preset.mono != 0 ? settings_.mono : settings_.stereo)->setChecked(true);
  }
  InvalidateResults();
}

void CMainDialog::DeleteSelectedPreset() {
  const int row = settings_.preset->currentIndex();
  const std::optional<int> next = store::DeletePresetAt(presets_, row);
  if (!next) return;
  settings_.preset->removeItem(row);
  settings_.preset->setCurrentIndex(*next);
  ApplyPreset();
}

void CMainDialog::ApplyPresetPlacement(const store::PresetPlacement& placement) {
  if (placement.removed_row != -1) settings_.preset->removeItem(placement.removed_row);
  settings_.preset->insertItem(placement.chosen_row, presets_[placement.chosen_row].name);
  settings_.preset->setCurrentIndex(placement.chosen_row);
  ApplyPreset();
  custom_preset_ = store::EncodingPreset{};
}

void CMainDialog::AddPresetFromControls(const QString& typed_name) {
  if (const auto placement =
          store::AddPreset(presets_, store::EncodingValuesOf(JobFromControls()), typed_name))
    ApplyPresetPlacement(*placement);
}

void CMainDialog::OnAddPreset() {
  CNewPresetDialog dialog(this);
  if (dialog.exec() == QDialog::Accepted) AddPresetFromControls(dialog.name());
}
