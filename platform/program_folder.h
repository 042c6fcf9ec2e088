// The program folder: the folder of the running executable, without a trailing separator.
// Everything the program keeps for itself is found below it.
#pragma once

#include <QString>

namespace platform {

QString ProgramFolder();

// For tests: make ProgramFolder() answer `folder` instead (empty restores the real one).
void OverrideProgramFolder(const QString& folder);

// The folder with every trailing separator removed ("/" and "\" alike); a bare root stays "/".
QString WithoutTrailingSeparator(QString folder);

}  // namespace platform
