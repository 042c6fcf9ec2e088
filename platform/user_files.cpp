#include "platform/user_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <memory>

#include "platform/program_folder.h"

namespace platform {

namespace {

const char kFolderName[] = "reelwright";

// The folder of this running program, under the runtime or the cache folder; kept until the end.
std::unique_ptr<QTemporaryDir>& OwnWorkingFolder() {
  static std::unique_ptr<QTemporaryDir> folder;
  return folder;
}

bool& AlwaysOwnWorkingFolder() {
  static bool always = false;
  return always;
}

// An XDG base folder: the variable when it holds an absolute path (a relative one is to be
// ignored), else `fallback_below_home` under the home folder.
QString BaseFolder(const char* variable, const QString& fallback_below_home) {
  const QString value = qEnvironmentVariable(variable);
  if (!value.isEmpty() && QDir::isAbsolutePath(value)) return value;
  if (fallback_below_home.isEmpty()) return {};
  return QDir(QDir::homePath()).filePath(fallback_below_home);
}

// Makes `path` (and its parents) when missing; a folder made here is private to the user.
bool MakePrivateFolder(const QString& path) {
  if (QFileInfo(path).isDir()) return true;
  if (!QDir().mkpath(path)) return false;
  QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  return true;
}

// A folder of this program's own below `base`/reelwright. The runtime folder belongs to the
// session and is never made here; the cache folder may be.
std::unique_ptr<QTemporaryDir> MakeWorkingFolderBelow(const QString& base, bool make_base) {
  if (base.isEmpty() || (!make_base && !QFileInfo(base).isDir())) return nullptr;
  const QString parent = QDir(base).filePath(kFolderName);
  if (!MakePrivateFolder(parent)) return nullptr;
  auto folder = std::make_unique<QTemporaryDir>(QDir(parent).filePath("run-XXXXXX"));
  if (!folder->isValid()) return nullptr;
  return folder;
}

}  // namespace

bool ProgramFolderIsWritable() {
  // The effective user and its capabilities decide, as they do for the writes themselves; a
  // folder on a read-only mount is not writable even for root.
  const QByteArray folder = QFile::encodeName(ProgramFolder());
  return faccessat(AT_FDCWD, folder.constData(), W_OK | X_OK, AT_EACCESS) == 0;
}

QString UserConfigFolder() {
  return QDir(BaseFolder("XDG_CONFIG_HOME", ".config")).filePath(kFolderName);
}

QString OwnFileToRead(const QString& name) {
  const QString shipped = QDir(ProgramFolder()).filePath(name);
  if (ProgramFolderIsWritable()) return shipped;
  const QString own = QDir(UserConfigFolder()).filePath(name);
  return QFileInfo::exists(own) ? own : shipped;
}

QString OwnFileToWrite(const QString& name) {
  if (ProgramFolderIsWritable()) return QDir(ProgramFolder()).filePath(name);
  // A folder that cannot be made fails the write itself, which the caller already allows for.
  MakePrivateFolder(UserConfigFolder());
  return QDir(UserConfigFolder()).filePath(name);
}

QString EncoderWorkingFolder() {
  if (!AlwaysOwnWorkingFolder() && ProgramFolderIsWritable()) return ProgramFolder();
  std::unique_ptr<QTemporaryDir>& folder = OwnWorkingFolder();
  if (!folder) folder = MakeWorkingFolderBelow(BaseFolder("XDG_RUNTIME_DIR", {}), false);
  if (!folder) folder = MakeWorkingFolderBelow(BaseFolder("XDG_CACHE_HOME", ".cache"), true);
  // Nowhere to write: the encoder still runs, it only cannot report its progress.
  return folder ? folder->path() : ProgramFolder();
}

void UseOwnEncoderWorkingFolder() {
  AlwaysOwnWorkingFolder() = true;
}

void RemoveEncoderWorkingFolder() {
  OwnWorkingFolder().reset();
}

}  // namespace platform
