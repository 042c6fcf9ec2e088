// The Convert Video dialog's conversion, step for step, without the dialog: it finds the "mp42"
// compressor, copies the reader's settings to the writer and moves frames and audio blocks
// across in the dialog's interleaved loop. The component's tests run it to show that the
// component works for exactly that caller.
#pragma once

#include <string>
#include <vector>

#include "outside/videofile/video_file.h"

namespace videofile_test {

struct LoopOutcome {
  bool succeeded = false;
  std::string failed_operation;  // the checked operation that failed, when one did
  std::string converted_path;    // empty when the conversion stopped before naming it
  std::vector<int> progress;     // every value the progress bar was set to
  bool writer_closed = false;    // the dialog ignores a failed close; the tests do not
};

LoopOutcome RunDialogConversion(videofile::IVideoFile& reader, videofile::IVideoFile& writer,
                                const std::string& input_path);

}  // namespace videofile_test
