// What the app relies on after a run: on success a complete FLV and progress at 100; on failure
// a non-zero status, one line on stderr and no output at all.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "vidforge_harness.h"

namespace vidforge_test {

struct ExpectedFlv {
  int width = 0;
  int height = 0;
  double frame_rate = 0;  // 0: not checked (a variable-rate source)
  double duration = 0;
  std::optional<AudioStream> audio;  // codec "mp3" implied
  // Partial results of damaged files are only roughly as long as expected, and may lack sound.
  double duration_tolerance = 0.25;
  bool audio_checked = true;
};

// A successful run: exit status 0, a complete FLV with the asked-for streams, seekable (key
// frames at most two seconds apart), progress at 100, nothing stray.
// Checks `output` (relative to the working folder `folder`) after `run`; `inputs` are the
// other files that belong in the output's folder.
void ExpectGoodFlv(const RunResult& run, const QString& folder, const QString& output,
                   const ExpectedFlv& expected, const QStringList& inputs);

// A failed run: `exit_code`, one line on stderr starting "vidforge: " and containing `reason`,
// and the working folder `folder` holding exactly `remaining` (no output, no temporary file).
void ExpectCleanFailure(const RunResult& run, int exit_code, const QString& reason,
                        const QString& folder, QStringList remaining);

}  // namespace vidforge_test
