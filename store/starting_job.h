// The job a fresh window starts with, as plain values: the window's own defaults, then what the
// program keeps between runs (the settings file and the affiliate file), with the first stored
// preset chosen. A program without a window starts every job from here, as the window does.
#pragma once

#include <QString>

#include "store/project_snapshot.h"
#include "store/settings_file.h"

namespace store {

// Chooses `preset`: its name and its seven encoding values.
void ApplyPresetValues(const EncodingPreset& preset, ProjectSnapshot& job);

// The job of a window that has just started with `stored` and `affiliate_id`: the external
// locations keep their addresses (switched off, as read), the first preset is chosen and
// applied, and then, as at every start, audio is on and the border shown.
ProjectSnapshot StartingJob(const StoredSettings& stored, const QString& affiliate_id);

}  // namespace store
