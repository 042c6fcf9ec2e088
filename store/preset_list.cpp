#include "store/preset_list.h"

#include <algorithm>

#include "store/value_text.h"

namespace store {

QString PresetSectionName(int index) {
  return QStringLiteral("Option%1").arg(index);
}

PresetList ReadPresets(const ProfileFile& profile) {
  PresetList presets;
  for (int index = 0;; ++index) {
    EncodingPreset preset;
    if (!preset.ReadPreset(PresetSectionName(index), profile)) break;
    presets.push_back(std::move(preset));
  }
  return presets;
}

void WritePresets(const PresetList& presets, ProfileFile& profile) {
  for (int index = 0; index < int(presets.size()); ++index) {
    presets[index].WritePreset(PresetSectionName(index), profile);
  }
}

QStringList PresetNames(const PresetList& presets) {
  QStringList names;
  for (const EncodingPreset& preset : presets) names << preset.name;
  return names;
}

int FindPresetByName(const PresetList& presets, const QString& name) {
  for (int row = 0; row < int(presets.size()); ++row) {
    if (presets[row].name.compare(name, Qt::CaseInsensitive) == 0) return row;
  }
  return -1;
}

std::optional<int> DeletePresetAt(PresetList& presets, int row) {
  if (row < 0 || row >= int(presets.size())) return std::nullopt;
  presets.erase(presets.begin() + row);
  return std::min(row, int(presets.size()) - 1);
}

QString NewPresetName(const QString& name) {
  return CutToLength(name.trimmed(), EncodingPreset::kMaxNameLength).trimmed();
}

std::optional<PresetPlacement> PlaceProjectPreset(PresetList& presets, EncodingPreset values,
                                                  const QString& name) {
  values.name = NewPresetName(name);
  if (values.name.isEmpty()) return std::nullopt;
  PresetPlacement placement{FindPresetByName(presets, values.name), 0};
  if (placement.removed_row >= 0) presets.erase(presets.begin() + placement.removed_row);
  presets.insert(presets.begin(), std::move(values));
  return placement;
}

std::optional<PresetPlacement> AddPreset(PresetList& presets, EncodingPreset values,
                                         const QString& typed_name) {
  values.name = NewPresetName(typed_name);
  if (values.name.isEmpty()) return std::nullopt;
  const int existing = FindPresetByName(presets, values.name);
  if (existing >= 0) {
    presets[existing] = std::move(values);
    return PresetPlacement{existing, existing};
  }
  presets.push_back(std::move(values));
  return PresetPlacement{-1, int(presets.size()) - 1};
}

}  // namespace store
