// One job run without a window: the encoding run of Start Encoding when the job has a video to
// encode, then Produce Web Page, on the same code the window runs. A video the encoder cannot
// read is converted first, as the Convert Video dialog's Convert and then Encode (with the
// temporary file deleted afterwards) would do.
#pragma once

#include <QString>

#include "encode/encoding_run.h"
#include "store/project_snapshot.h"

namespace batch {

// The conversion offer of the batch: prints the dialog's offer with the answer "Convert",
// converts with the VideoFile control into this run's own working folder (never beside the
// input, where another run may be converting the same video) and hands back the temporary file
// to encode and delete.
// A conversion that fails shows the dialog's message and ends as its Cancel would.
encode::ConversionChoice ConvertForBatch(const QString& input);

// Runs `job` (its names come back completed, as the window writes them into its boxes) with the
// program folder's companions. True when the page was written; `page_path` is then the page
// and `page_folder` the output folder. `publish_mp4` is the settings file's choice of an MP4
// twin, as the window would publish with it.
bool RunBatchJob(store::ProjectSnapshot& job, bool publish_mp4, QString* page_path,
                 QString* page_folder);

}  // namespace batch
