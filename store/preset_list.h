// The list of encoding presets: entry i is row i of the "Preset" combo box and the settings
// file's section "Option<i>". The operations change the list only and tell the window which
// combo box rows to change, so the list and the rows stay one to one.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "store/encoding_preset.h"

namespace store {

using PresetList = std::vector<EncodingPreset>;

// "Option0", "Option1", ...
QString PresetSectionName(int index);

// The presets of sections "Option0", "Option1", ... up to the first missing or nameless one;
// sections after such a gap are not read.
PresetList ReadPresets(const ProfileFile& profile);
// Every preset in list order, numbered from 0 without gaps.
void WritePresets(const PresetList& presets, ProfileFile& profile);

QStringList PresetNames(const PresetList& presets);

// The first preset whose name equals `name` exactly, ignoring letter case; -1 when none does.
int FindPresetByName(const PresetList& presets, const QString& name);

// Removes the chosen row and gives the row to choose next: the row that now has its position,
// or the new last row when the last one went, or -1 when the list is now empty. Nothing (the
// list unchanged) when `row` is no valid index.
std::optional<int> DeletePresetAt(PresetList& presets, int row);

// Where a new preset went: the window removes combo row `removed_row` first (when it is not
// -1), then inserts the preset's name as row `chosen_row` and chooses that row.
struct PresetPlacement {
  int removed_row = -1;
  int chosen_row = 0;
  friend bool operator==(const PresetPlacement&, const PresetPlacement&) = default;
};

// The name a new preset gets from a typed or loaded one: without surrounding blanks and cut to
// the 249 characters a name holds, as it would come back from the settings file anyway.
QString NewPresetName(const QString& name);

// The project file's preset: `values` (the encoding values as loaded) under `name` replace the
// first preset of that name, if any, and go to the top of the list. Nothing for an empty name.
std::optional<PresetPlacement> PlaceProjectPreset(PresetList& presets, EncodingPreset values,
                                                  const QString& name);

// "Save Preset": `values` are those the encoding controls show, which is what the user sees
// and saves, also while a preset is chosen. A name that is empty or blank adds nothing. A name
// that a preset already has (ignoring case) updates that preset in its place, under the name
// as typed now: saving again under the same name is how a user changes a preset. Any other
// name is added as the new last preset. Either way the preset becomes the chosen row.
std::optional<PresetPlacement> AddPreset(PresetList& presets, EncodingPreset values,
                                         const QString& typed_name);

}  // namespace store
