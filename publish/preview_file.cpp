#include "publish/preview_file.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace publish {

namespace {

// Whether a relative path has a part that is empty, "." or "..", or starts with a dot.
bool HasDotOrEmptyPart(const QString& relative) {
  for (const QString& part : relative.split('/'))
    if (part.isEmpty() || part.startsWith('.')) return true;
  return false;
}

}  // namespace

QString ResolvePreviewPath(const QString& root, const std::string& request_path) {
  if (root.isEmpty() || request_path.size() < 2 || request_path[0] != '/') return {};
  if (request_path.find('\0') != std::string::npos) return {};
  const QString path = QString::fromStdString(request_path.substr(1));
  // Bytes that are not UTF-8 would be read as some other name.
  if (path.toStdString() != request_path.substr(1)) return {};
  if (path.contains('\\') || HasDotOrEmptyPart(path)) return {};
  const QFileInfo file(QDir(root).filePath(path));
  // Symbolic links are followed to where they lead, which must still be inside the folder and
  // no dotfile there.
  const QString canonical = file.canonicalFilePath();
  if (canonical.isEmpty() || !QFileInfo(canonical).isFile()) return {};
  if (!canonical.startsWith(root + '/')) return {};
  if (HasDotOrEmptyPart(canonical.mid(root.size() + 1))) return {};
  return canonical;
}

std::optional<PreviewFile> OpenPreviewFile(const QString& path) {
  // The name was just resolved without links; one put there since is not followed. Without
  // O_NONBLOCK, a FIFO swapped in would hold the open until some writer came.
  FileDescriptor fd(::open(QFile::encodeName(path).constData(),
                           O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | O_NOFOLLOW));
  if (!fd.valid()) return std::nullopt;
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  // The server runs as the user who owns the folder, for whoever connects: only what others
  // may read themselves is handed out.
  if ((info.st_mode & S_IROTH) == 0) return std::nullopt;
  PreviewFile file;
  file.fd = std::move(fd);
  file.size = static_cast<uint64_t>(info.st_size);
  file.inode = static_cast<uint64_t>(info.st_ino);
  file.modified_ns = int64_t(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
  return file;
}

}  // namespace publish
