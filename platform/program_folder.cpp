#include "platform/program_folder.h"

#include <QCoreApplication>
#include <QDir>

namespace platform {

namespace {
QString g_override;
}

QString WithoutTrailingSeparator(QString folder) {
  while (folder.size() > 1 && (folder.endsWith('/') || folder.endsWith('\\'))) folder.chop(1);
  return folder;
}

QString ProgramFolder() {
  if (!g_override.isEmpty()) return g_override;
  return WithoutTrailingSeparator(QDir::toNativeSeparators(QCoreApplication::applicationDirPath()));
}

void OverrideProgramFolder(const QString& folder) {
  g_override = WithoutTrailingSeparator(folder);
}

}  // namespace platform
