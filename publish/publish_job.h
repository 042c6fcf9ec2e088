// The publishing job from the job as plain values: what Produce Web Page hands to PublishPage
// for a job read from the window's controls, from a project file or from the command line.
#pragma once

#include <QString>
#include <vector>

#include "publish/output_files.h"
#include "publish/player_skin.h"
#include "store/project_snapshot.h"

namespace publish {

// The rows of the job become their texts (the buffer time); the chosen player becomes its file
// in `players`, the players of `program_folder` as ScanPlayerSkins lists them.
PublishJob PublishJobFor(const store::ProjectSnapshot& job, const QString& program_folder,
                         const std::vector<PlayerSkin>& players);

}  // namespace publish
