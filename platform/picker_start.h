// Where a file or folder picker opens: where the user is, never the program's own working
// folder.
#pragma once

#include <QString>

namespace platform {

// The folder of `field_value` (a file's folder, or the folder itself) when it is a whole path
// to a folder that exists; else the folder last chosen in a picker in this run; else the
// user's Videos folder; else the home folder.
QString PickerStartFolder(const QString& field_value);

// Notes the folder of what the user chose in a picker (a file or a folder), for the next one.
void RememberPickerChoice(const QString& chosen);

}  // namespace platform
