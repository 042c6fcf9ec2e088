#include "store/regular_file.h"

#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace store {

#ifdef Q_OS_UNIX

bool OpenRegularFileForReading(QFile& file, const QString& path) {
  const QByteArray name = QFile::encodeName(path);
  struct stat info {};
  if (::stat(name.constData(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return false;
  // The name may have been given to something else between the check and the open.
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return false;
  }
  if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
    ::close(fd);
    return false;
  }
  return true;
}

bool MayReplaceFile(const QString& path) {
  struct stat info {};
  if (::stat(QFile::encodeName(path).constData(), &info) == 0) return S_ISREG(info.st_mode);
  // A dangling link counts as nothing there: the new file is made where it points, as before.
  return errno == ENOENT;
}

#else

bool OpenRegularFileForReading(QFile& file, const QString& path) {
  if (!QFileInfo(path).isFile()) return false;
  file.setFileName(path);
  return file.open(QIODevice::ReadOnly);
}

bool MayReplaceFile(const QString& path) {
  const QFileInfo info(path);
  return !info.exists() || info.isFile();
}

#endif

}  // namespace store
