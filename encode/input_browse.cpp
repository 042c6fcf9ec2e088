#include "encode/input_browse.h"

namespace encode {

std::optional<InputSelection> BrowseForMovie(QWidget* owner, const QString& output_folder,
                                             const QString& output_html) {
  const QString path =
      platform::CurrentPrompter().ChooseOpenFile(owner, kMovieDialogTitle, MovieFileFilters());
  if (path.isEmpty()) return std::nullopt;
  return SelectMovie(path, output_folder, output_html);
}

std::optional<InputSelection> BrowseForFlv(QWidget* owner, const QString& output_folder,
                                           const QString& output_html) {
  const QString path =
      platform::CurrentPrompter().ChooseOpenFile(owner, kFlvDialogTitle, FlvFileFilters());
  if (path.isEmpty()) return std::nullopt;
  return SelectFlv(path, output_folder, output_html);
}

}  // namespace encode
