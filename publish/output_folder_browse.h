// The Browse button beside Output Folder: a folder picker that can also make a new folder.
#pragma once

class CMainDialog;

namespace publish {

void BrowseForOutputFolder(CMainDialog& dialog);

}  // namespace publish
