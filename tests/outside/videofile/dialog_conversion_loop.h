// The Convert Video dialog's conversion without the dialog: the component's tests run the
// dialog's own loop (encode/video_conversion) to show that the component works for exactly
// that caller.
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
