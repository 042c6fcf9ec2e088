#include "platform/picker_start.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace platform {

namespace {

QString& LastChosenFolder() {
  static QString folder;
  return folder;
}

// The folder `path` names or lies in, when it is whole and there; else empty.
QString ExistingFolderOf(const QString& path) {
  const QString trimmed = path.trimmed();
  if (trimmed.isEmpty() || !QDir::isAbsolutePath(QDir::fromNativeSeparators(trimmed))) return {};
  const QFileInfo info(QDir::fromNativeSeparators(trimmed));
  if (info.isDir()) return QDir::cleanPath(info.absoluteFilePath());
  const QFileInfo folder(info.absolutePath());
  return folder.isDir() ? QDir::cleanPath(folder.absoluteFilePath()) : QString();
}

}  // namespace

QString PickerStartFolder(const QString& field_value) {
  if (const QString folder = ExistingFolderOf(field_value); !folder.isEmpty()) return folder;
  if (const QString last = ExistingFolderOf(LastChosenFolder()); !last.isEmpty()) return last;
  const QString videos = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
  if (!videos.isEmpty() && QFileInfo(videos).isDir()) return videos;
  return QDir::homePath();
}

void RememberPickerChoice(const QString& chosen) {
  if (const QString folder = ExistingFolderOf(chosen); !folder.isEmpty())
    LastChosenFolder() = folder;
}

}  // namespace platform
