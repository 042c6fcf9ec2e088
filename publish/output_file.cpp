#include "publish/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QRandomGenerator>
#include <cerrno>
#include <cstring>
#include <utility>

#include "store/regular_file.h"

namespace publish {

namespace {

constexpr size_t kChunk = size_t(1) << 20;
constexpr qsizetype kMaxNameStem = 200;  // the hidden name must stay within NAME_MAX

// Closes a descriptor when it goes out of scope.
class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  Fd(const Fd&) = delete;
  Fd& operator=(Fd&& other) noexcept {
    if (fd_ >= 0 && fd_ != other.fd_) ::close(fd_);
    fd_ = other.release();
    return *this;
  }
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  int release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    data += written;
    size -= size_t(written);
  }
  return true;
}

// Up to `size` bytes, fewer only at the end of the file; -1 on a read error.
ssize_t ReadFull(int fd, char* data, size_t size) {
  size_t done = 0;
  while (done < size) {
    const ssize_t got = ::read(fd, data + done, size - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return -1;
    if (got == 0) break;
    done += size_t(got);
  }
  return ssize_t(done);
}

// ".NAME.reelwright-XXXXXX": hidden, so that neither the preview nor a listing shows it in the
// moment it exists.
QByteArray HiddenName(const QByteArray& leaf) {
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  QByteArray name = "." + leaf.left(kMaxNameStem) + ".reelwright-";
  for (int i = 0; i < 6; ++i) name += kLetters[QRandomGenerator::global()->bounded(36)];
  return name;
}

// A new file with no name in `parent`, when the system offers one and /proc can give it a name
// later; -1 otherwise.
int CreateUnnamed(int parent) {
#ifdef O_TMPFILE
  const int fd = ::openat(parent, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
  if (fd < 0) return -1;
  if (::access(("/proc/self/fd/" + std::to_string(fd)).c_str(), F_OK) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
#else
  (void)parent;
  return -1;
#endif
}

// Gives `fd` (an unnamed file, or none yet when -1) a fresh hidden name in `parent`. Returns
// the new descriptor for a named file created here, `fd` itself when it was linked, -1 (and no
// name) on failure.
int NameBeside(int parent, int fd, const QByteArray& leaf, QByteArray* hidden) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    *hidden = HiddenName(leaf);
    if (fd < 0) {
      const int created = ::openat(parent, hidden->constData(),
                                   O_CREAT | O_EXCL | O_WRONLY | O_NOFOLLOW | O_CLOEXEC, 0666);
      if (created >= 0) return created;
      if (errno != EEXIST) break;
    } else {
      const std::string self = "/proc/self/fd/" + std::to_string(fd);
      if (::linkat(AT_FDCWD, self.c_str(), parent, hidden->constData(), AT_SYMLINK_FOLLOW) == 0)
        return fd;
      if (errno != EEXIST) break;
    }
  }
  hidden->clear();
  return -1;
}

}  // namespace

std::unique_ptr<OutputFolder> OutputFolder::Open(const QString& path) {
  const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  return std::unique_ptr<OutputFolder>(new OutputFolder(path, fd));
}

OutputFolder::~OutputFolder() {
  for (auto name = made_.crbegin(); name != made_.crend(); ++name) {
    QByteArray leaf;
    OutputKind why_not;
    const Fd parent(OpenParent(*name, &leaf, &why_not));
    if (parent.get() < 0) continue;
    struct stat info {};
    if (::fstatat(parent.get(), leaf.constData(), &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
    // A folder goes only when it is empty again: nothing that was put in it since is lost.
    ::unlinkat(parent.get(), leaf.constData(), S_ISDIR(info.st_mode) ? AT_REMOVEDIR : 0);
  }
  ::close(fd_);
}

int OutputFolder::OpenParent(const QString& name, QByteArray* leaf, OutputKind* why_not) const {
  *why_not = OutputKind::kNoWay;
  const QStringList parts = name.split('/');
  for (const QString& part : parts) {
    if (part.isEmpty() || part == "." || part == "..") return -1;
  }
  Fd folder(::fcntl(fd_, F_DUPFD_CLOEXEC, 0));
  for (qsizetype i = 0; i + 1 < parts.size() && folder.get() >= 0; ++i) {
    const QByteArray part = QFile::encodeName(parts[i]);
    const int next =
        ::openat(folder.get(), part.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (next < 0) {
      struct stat info {};
      if (::fstatat(folder.get(), part.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
          S_ISLNK(info.st_mode))
        *why_not = OutputKind::kBehindLink;
      return -1;
    }
    folder = Fd(next);
  }
  *leaf = QFile::encodeName(parts.last());
  return folder.release();
}

OutputKind OutputFolder::KindOf(const QString& name) const {
  QByteArray leaf;
  OutputKind why_not;
  const Fd parent(OpenParent(name, &leaf, &why_not));
  if (parent.get() < 0) return why_not;
  struct stat info {};
  if (::fstatat(parent.get(), leaf.constData(), &info, AT_SYMLINK_NOFOLLOW) != 0)
    return errno == ENOENT ? OutputKind::kNothing : OutputKind::kNoWay;
  if (S_ISLNK(info.st_mode)) return OutputKind::kLink;
  if (S_ISREG(info.st_mode)) return OutputKind::kFile;
  if (S_ISDIR(info.st_mode)) return OutputKind::kFolder;
  return OutputKind::kOther;
}

bool OutputFolder::Replace(const QString& name, int mode, const std::function<bool(int)>& fill) {
  QByteArray leaf;
  OutputKind why_not;
  const Fd parent(OpenParent(name, &leaf, &why_not));
  if (parent.get() < 0) return false;
  struct stat old {};
  const bool existed = ::fstatat(parent.get(), leaf.constData(), &old, AT_SYMLINK_NOFOLLOW) == 0;
  // A link is replaced like a file; a folder, a FIFO or a device stays what it is.
  if (existed && !S_ISREG(old.st_mode) && !S_ISLNK(old.st_mode)) return false;
  if (mode < 0 && existed && S_ISREG(old.st_mode)) mode = int(old.st_mode & 0777);

  QByteArray hidden;
  Fd file(CreateUnnamed(parent.get()));
  const bool unnamed = file.get() >= 0;
  if (!unnamed) file = Fd(NameBeside(parent.get(), -1, leaf, &hidden));
  if (file.get() < 0) return false;
  // Permissions come before the first byte: a private source must never be readable, not even
  // for a moment.
  bool ok = (mode < 0 || ::fchmod(file.get(), mode_t(mode)) == 0) && fill(file.get()) &&
            ::fdatasync(file.get()) == 0;
  if (ok && unnamed) ok = NameBeside(parent.get(), file.get(), leaf, &hidden) >= 0;
  ok = ::close(file.release()) == 0 && ok;
  if (ok) {
    // The rename replaces whatever is at the name, a link included, in one step.
    ok = ::renameat(parent.get(), hidden.constData(), parent.get(), leaf.constData()) == 0;
  }
  if (!ok) {
    if (!hidden.isEmpty()) ::unlinkat(parent.get(), hidden.constData(), 0);
    return false;
  }
  if (!existed) made_ << name;
  return true;
}

bool OutputFolder::WriteFile(const QString& name, const QByteArray& bytes) {
  return Replace(
      name, -1, [&bytes](int fd) { return WriteAll(fd, bytes.constData(), size_t(bytes.size())); });
}

bool OutputFolder::CopyFile(const QString& source, const QString& name) {
  QFile in;
  if (!store::OpenRegularFileForReading(in, source)) return false;
  struct stat from {};
  if (::fstat(in.handle(), &from) != 0) return false;
  {
    QByteArray leaf;
    OutputKind why_not;
    const Fd parent(OpenParent(name, &leaf, &why_not));
    struct stat to {};
    // Copying a file onto itself must not lose it.
    if (parent.get() >= 0 &&
        ::fstatat(parent.get(), leaf.constData(), &to, AT_SYMLINK_NOFOLLOW) == 0 &&
        to.st_dev == from.st_dev && to.st_ino == from.st_ino)
      return true;
  }
  return Replace(name, int(from.st_mode & 0777), [&in](int fd) {
    std::unique_ptr<char[]> buffer(new char[kChunk]);
    for (;;) {
      const ssize_t got = ReadFull(in.handle(), buffer.get(), kChunk);
      if (got <= 0) return got == 0;
      if (!WriteAll(fd, buffer.get(), size_t(got))) return false;
    }
  });
}

bool OutputFolder::HoldsSameBytes(const QString& name, const QString& source) const {
  QByteArray leaf;
  OutputKind why_not;
  const Fd parent(OpenParent(name, &leaf, &why_not));
  if (parent.get() < 0) return false;
  const Fd ours(::openat(parent.get(), leaf.constData(),
                         O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  QFile theirs;
  struct stat our_info {
  }, their_info{};
  if (ours.get() < 0 || ::fstat(ours.get(), &our_info) != 0 || !S_ISREG(our_info.st_mode) ||
      !store::OpenRegularFileForReading(theirs, source) ||
      ::fstat(theirs.handle(), &their_info) != 0 || our_info.st_size != their_info.st_size)
    return false;
  std::unique_ptr<char[]> our_bytes(new char[kChunk]), their_bytes(new char[kChunk]);
  for (;;) {
    const ssize_t got = ReadFull(ours.get(), our_bytes.get(), kChunk);
    if (got < 0 || got != ReadFull(theirs.handle(), their_bytes.get(), kChunk)) return false;
    if (got == 0) return true;
    if (std::memcmp(our_bytes.get(), their_bytes.get(), size_t(got)) != 0) return false;
  }
}

bool OutputFolder::MakeFolder(const QString& name) {
  QByteArray leaf;
  OutputKind why_not;
  const Fd parent(OpenParent(name, &leaf, &why_not));
  if (parent.get() < 0) return false;
  if (::mkdirat(parent.get(), leaf.constData(), 0777) == 0) {
    made_ << name;
    return true;
  }
  struct stat info {};
  return errno == EEXIST &&
         ::fstatat(parent.get(), leaf.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
         S_ISDIR(info.st_mode);
}

bool OutputFolder::IsUpToDateWith(const QString& name, const QString& source) const {
  struct stat ours {
  }, theirs{};
  for (const auto& [path, info] : {std::pair{&name, &ours}, std::pair{&source, &theirs}}) {
    QByteArray leaf;
    OutputKind why_not;
    const Fd parent(OpenParent(*path, &leaf, &why_not));
    if (parent.get() < 0 ||
        ::fstatat(parent.get(), leaf.constData(), info, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISREG(info->st_mode))
      return false;
  }
  if (ours.st_size == 0) return false;
  const timespec a = ours.st_mtim, b = theirs.st_mtim;
  return a.tv_sec > b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec >= b.tv_nsec);
}

}  // namespace publish
