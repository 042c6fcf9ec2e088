// Where the encoder and its progress file live, and how a run is read: the encoder writes its
// progress as the size of the "stat" file in its working folder (platform/user_files.h), and a
// run has succeeded when the FLV it was given exists and is not empty.
#pragma once

#include <QString>
#include <memory>
#include <optional>

#include "platform/process_runner.h"

namespace encode {

struct EncoderRun;

// `folder`, the platform's separator and `name`.
QString JoinPath(const QString& folder, const QString& name);

// The program folder's resources/vidforge.
QString EncoderProgramPath(const QString& program_folder);

// The progress file "stat" in the encoder's working folder.
QString ProgressFilePath(const QString& working_folder);

// Deletes the progress file; a missing one is no error.
void DeleteProgressFile(const QString& working_folder);

// The progress in percent: the progress file's size in bytes, clamped to 0..100. Nothing
// when there is no progress file (the bar keeps what it shows).
std::optional<int> ReadProgressPercent(const QString& working_folder);

// Whether the encoder's output exists with a size other than zero.
bool EncoderOutputReady(const QString& flv_path);

// Starts the program folder's encoder hidden for a prepared run, in `working_folder`. nullptr
// when it could not be started; the caller then ends the run silently.
std::unique_ptr<platform::RunningProcess> StartEncoder(const QString& program_folder,
                                                       const QString& working_folder,
                                                       const EncoderRun& run);

}  // namespace encode
