// The Browse button beside Output Folder: a folder picker that can also make a new folder.
#pragma once

#include <QString>

class QWidget;

namespace publish {

// The chosen folder with the platform's separators; empty when the user cancels. The picker
// opens where `current` (the Output Folder field's text) lies.
QString BrowseForOutputFolder(QWidget* owner, const QString& current);

// The page's name when the user has not given one and a folder was chosen.
inline constexpr char kDefaultPageName[] = "index.html";

}  // namespace publish
