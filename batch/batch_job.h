// The job of a batch run as plain values, made as the window makes it: from a fresh window's
// start (the settings and affiliate files), then either a project file's lines, read and applied
// by the window's own reader, or the command line's input chosen as a Browse button chooses it.
#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "batch/batch_options.h"
#include "publish/player_skin.h"
#include "store/project_snapshot.h"
#include "store/settings_file.h"

namespace batch {

// What the program keeps between runs, read from where the window reads it.
store::StoredSettings ReadStoredSettings();

// The job of a window that has just started with the program's stored files.
store::ProjectSnapshot FreshWindowJob(const store::StoredSettings& stored);

// The job after opening `path` over `start`, or nothing when the file cannot be opened (the
// caller shows the window's message). Only a PRESET line of the file chooses a preset; its
// encoding values are the project's own, as the window applies them.
std::optional<store::ProjectSnapshot> OpenProjectJob(const QString& path,
                                                     store::ProjectSnapshot start);

// The job of the --input form over `start`, or the usage error in `error`: the input chosen as
// its Browse button would (an ".flv" as the existing FLV, anything else as the movie), then the
// command line's output folder, names, title, preset (by name, ignoring case) and player (by
// its name or file name, ignoring case).
std::optional<store::ProjectSnapshot> InputJob(const BatchOptions& options,
                                               store::ProjectSnapshot start,
                                               const store::PresetList& presets,
                                               const std::vector<publish::PlayerSkin>& players,
                                               QString* error);

}  // namespace batch
