#include "encode/input_browse.h"

#include "platform/picker_start.h"

namespace encode {

std::optional<InputSelection> BrowseForMovie(QWidget* owner, const QString& current,
                                             const QString& output_folder,
                                             const QString& output_html) {
  const QString path = platform::CurrentPrompter().ChooseOpenFile(
      owner, kMovieDialogTitle, MovieFileFilters(), platform::PickerStartFolder(current));
  if (path.isEmpty()) return std::nullopt;
  platform::RememberPickerChoice(path);
  return SelectMovie(path, output_folder, output_html);
}

std::optional<InputSelection> BrowseForFlv(QWidget* owner, const QString& current,
                                           const QString& output_folder,
                                           const QString& output_html) {
  const QString path = platform::CurrentPrompter().ChooseOpenFile(
      owner, kFlvDialogTitle, FlvFileFilters(), platform::PickerStartFolder(current));
  if (path.isEmpty()) return std::nullopt;
  platform::RememberPickerChoice(path);
  return SelectFlv(path, output_folder, output_html);
}

}  // namespace encode
