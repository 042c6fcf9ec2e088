#include "publish/output_folder_browse.h"

#include <QDir>

#include "platform/picker_start.h"
#include "platform/prompter.h"

namespace publish {

namespace {
const char kFolderPickerTitle[] =
    "Please select an existing folder  OR\r\nCreate a new folder using the New Folder button";
}

QString BrowseForOutputFolder(QWidget* owner, const QString& current) {
  const QString folder = platform::CurrentPrompter().ChooseFolder(
      owner, kFolderPickerTitle, platform::PickerStartFolder(current));
  if (folder.isEmpty()) return {};
  platform::RememberPickerChoice(folder);
  return QDir::toNativeSeparators(folder);
}

}  // namespace publish
