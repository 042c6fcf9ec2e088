#include "dialog_conversion_loop.h"

#include "encode/video_conversion.h"

namespace videofile_test {

LoopOutcome RunDialogConversion(videofile::IVideoFile& reader, videofile::IVideoFile& writer,
                                const std::string& input_path) {
  LoopOutcome outcome;
  encode::ConversionHooks hooks;
  hooks.set_progress = [&outcome](int percent) { outcome.progress.push_back(percent); };
  const encode::ConversionResult result =
      encode::ConvertToTemporaryAvi(reader, writer, QString::fromStdString(input_path), hooks);
  outcome.succeeded = result.succeeded;
  outcome.failed_operation = result.failed_operation.toStdString();
  outcome.converted_path = result.converted_path.toStdString();
  // The dialog counts a writer that cannot finish its file as a failed conversion.
  outcome.writer_closed = result.succeeded;
  return outcome;
}

}  // namespace videofile_test
