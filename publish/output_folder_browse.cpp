#include "publish/output_folder_browse.h"

#include <QDir>

#include "app/main_dialog.h"
#include "platform/prompter.h"

namespace publish {

namespace {
const char kFolderPickerTitle[] =
    "Please select an existing folder  OR\r\nCreate a new folder using the New Folder button";
}

void BrowseForOutputFolder(CMainDialog& dialog) {
  const QString folder = platform::CurrentPrompter().ChooseFolder(&dialog, kFolderPickerTitle);
  if (folder.isEmpty()) return;
  ProjectSettings& s = dialog.settings();
  dialog.WriteEditText(s.output_folder, QDir::toNativeSeparators(folder));
  if (s.output_html->text().trimmed().isEmpty())
    dialog.WriteEditText(s.output_html, QStringLiteral("index.html"));
}

}  // namespace publish
