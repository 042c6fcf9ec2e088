#include "encode/input_browse.h"

#include "app/main_dialog.h"
#include "encode/input_selection.h"

namespace encode {

namespace {

// Writes a choice into the page-1 fields, in the order the user sees them change.
void ApplySelection(CMainDialog& dialog, const InputSelection& selection) {
  ProjectSettings& s = dialog.settings();
  dialog.WriteEditText(s.output_folder, selection.output_folder);
  if (s.output_html->text() != selection.output_html)
    dialog.WriteEditText(s.output_html, selection.output_html);
  dialog.WriteEditText(s.input_video, selection.input_video);
  dialog.WriteEditText(s.output_video, selection.output_video);
  dialog.WriteEditText(s.input_flv, selection.input_flv);
  s.which_file = selection.which_file;
  dialog.EnableEncodingControls(selection.encoding_enabled);
}

}  // namespace

void BrowseForMovie(CMainDialog& dialog) {
  const QString path =
      platform::CurrentPrompter().ChooseOpenFile(&dialog, kMovieDialogTitle, MovieFileFilters());
  if (path.isEmpty()) return;
  const ProjectSettings& s = dialog.settings();
  ApplySelection(dialog, SelectMovie(path, s.output_folder->text(), s.output_html->text()));
}

void BrowseForFlv(CMainDialog& dialog) {
  const QString path =
      platform::CurrentPrompter().ChooseOpenFile(&dialog, kFlvDialogTitle, FlvFileFilters());
  if (path.isEmpty()) return;
  const ProjectSettings& s = dialog.settings();
  ApplySelection(dialog, SelectFlv(path, s.output_folder->text(), s.output_html->text()));
}

}  // namespace encode
