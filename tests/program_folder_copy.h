// A copy of the built program folder for tests that run the real companions, so that a run's
// files (settings, the encoder's progress file) never touch the build's own.
#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace test_support {

inline bool CopyProgramFolder(const QString& from, const QString& to) {
  QDir source(from);
  for (const QFileInfo& entry : source.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
    const QString target = QDir(to).filePath(entry.fileName());
    if (entry.isDir()) {
      if (!QDir().mkpath(target) || !CopyProgramFolder(entry.filePath(), target)) return false;
    } else if (!QFile::copy(entry.filePath(), target)) {
      return false;
    } else {
      QFile::setPermissions(target, entry.permissions());
    }
  }
  return true;
}

}  // namespace test_support
