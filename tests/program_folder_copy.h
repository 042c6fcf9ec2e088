// A copy of the built program folder for tests that run the real companions, so that a run's
// files (settings, the encoder's progress file) never touch the build's own. The files the
// program writes for itself are left out, as the package leaves them out: a copy starts as a
// program that has never run, without the presets the build's folder starts with.
#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace test_support {

inline bool CopyProgramFolder(const QString& from, const QString& to, bool top = true) {
  QDir source(from);
  for (const QFileInfo& entry : source.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
    if (top && QStringList({"reelwright.ini", "affiliate.cfg", "stat"}).contains(entry.fileName()))
      continue;
    const QString target = QDir(to).filePath(entry.fileName());
    if (entry.isDir()) {
      if (!QDir().mkpath(target) || !CopyProgramFolder(entry.filePath(), target, false))
        return false;
    } else if (!QFile::copy(entry.filePath(), target)) {
      return false;
    } else {
      QFile::setPermissions(target, entry.permissions());
    }
  }
  return true;
}

}  // namespace test_support
