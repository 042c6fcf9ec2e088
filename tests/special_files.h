// Files that are not plain files, made in a test's own folder: a link to a device node, a FIFO,
// a link to a FIFO, a folder, a socket. The device node is the test's own (the null device's
// numbers, so that even a wrong open could neither block nor harm); nothing under the
// machine's /dev is ever touched. And a watchdog that frees a reader stuck on a FIFO, so a
// test of "never blocks" fails instead of hanging.
#pragma once

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QString>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

namespace test_support {

enum class SpecialKind { kLinkToDevice, kFifo, kLinkToFifo, kFolder, kSocket };

inline const std::vector<SpecialKind>& AllSpecialKinds() {
  static const std::vector<SpecialKind> kinds = {SpecialKind::kLinkToDevice, SpecialKind::kFifo,
                                                 SpecialKind::kLinkToFifo, SpecialKind::kFolder,
                                                 SpecialKind::kSocket};
  return kinds;
}

inline const char* KindName(SpecialKind kind) {
  switch (kind) {
    case SpecialKind::kLinkToDevice:
      return "link to a device";
    case SpecialKind::kFifo:
      return "FIFO";
    case SpecialKind::kLinkToFifo:
      return "link to a FIFO";
    case SpecialKind::kFolder:
      return "folder";
    case SpecialKind::kSocket:
      return "socket";
  }
  return "?";
}

// Makes `kind` at `path`; what a link points to is made beside it, named path + ".target".
// Empty on success, else why this machine does not allow it (a device node needs root).
inline QString MakeSpecialFile(SpecialKind kind, const QString& path) {
  const QByteArray name = QFile::encodeName(path);
  const QByteArray target = name + ".target";
  auto failed = [](const char* what) { return QString("%1: %2").arg(what, strerror(errno)); };
  switch (kind) {
    case SpecialKind::kLinkToDevice:
      if (mknod(target.constData(), S_IFCHR | 0666, makedev(1, 3)) != 0) return failed("mknod");
      break;
    case SpecialKind::kFifo:
      if (mkfifo(name.constData(), 0666) != 0) return failed("mkfifo");
      return {};
    case SpecialKind::kLinkToFifo:
      if (mkfifo(target.constData(), 0666) != 0) return failed("mkfifo");
      break;
    case SpecialKind::kFolder:
      if (mkdir(name.constData(), 0777) != 0) return failed("mkdir");
      return {};
    case SpecialKind::kSocket: {
      sockaddr_un address{};
      address.sun_family = AF_UNIX;
      if (size_t(name.size()) >= sizeof address.sun_path) return "the path is too long";
      std::memcpy(address.sun_path, name.constData(), size_t(name.size()) + 1);
      const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
      const bool bound =
          fd >= 0 && bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
      const QString why = bound ? QString() : failed("bind");
      if (fd >= 0) close(fd);
      return why;
    }
  }
  if (symlink(target.constData(), name.constData()) != 0) return failed("symlink");
  return {};
}

// Whether the file system of `folder` makes unnamed files (O_TMPFILE): where it does not, the
// programs fall back to a named temporary file, which a kill -9 leaves behind.
inline bool FolderTakesUnnamedFiles(const QString& folder) {
  const int fd = open(QFile::encodeName(folder).constData(), O_TMPFILE | O_WRONLY, 0600);
  if (fd < 0) return false;
  close(fd);
  return true;
}

// What is at `path`, the link and what it leads to, with a device's numbers and a file's inode:
// equal before and after exactly when nothing was replaced.
inline QString Describe(const QString& path) {
  const QByteArray name = QFile::encodeName(path);
  auto kind = [](const struct stat& info) {
    const QString inode = QString::number(info.st_ino);
    if (S_ISCHR(info.st_mode))
      return QString("character device %1:%2 #%3")
          .arg(major(info.st_rdev))
          .arg(minor(info.st_rdev))
          .arg(inode);
    if (S_ISFIFO(info.st_mode)) return "FIFO #" + inode;
    if (S_ISDIR(info.st_mode)) return "folder #" + inode;
    if (S_ISSOCK(info.st_mode)) return "socket #" + inode;
    if (S_ISREG(info.st_mode)) return "regular file #" + inode;
    return "other #" + inode;
  };
  struct stat own {};
  if (lstat(name.constData(), &own) != 0) return "nothing";
  if (!S_ISLNK(own.st_mode)) return kind(own);
  struct stat led_to {};
  if (stat(name.constData(), &led_to) != 0) return "dangling link";
  return "link to " + kind(led_to);
}

// While alive, waits `limit`; after that it keeps opening every FIFO in `folder` for writing
// (without blocking), which frees a reader stuck in opening or reading one. fired() then says
// the code under test blocked.
class FifoWatchdog {
 public:
  explicit FifoWatchdog(const QString& folder,
                        std::chrono::milliseconds limit = std::chrono::seconds(5))
      : thread_([this, folder, limit] { Watch(folder, limit); }) {}
  ~FifoWatchdog() {
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
  }
  FifoWatchdog(const FifoWatchdog&) = delete;
  FifoWatchdog& operator=(const FifoWatchdog&) = delete;

  bool fired() {
    std::lock_guard lock(mutex_);
    return fired_;
  }

 private:
  void Watch(const QString& folder, std::chrono::milliseconds limit) {
    std::unique_lock lock(mutex_);
    if (wake_.wait_for(lock, limit, [this] { return stopping_; })) return;
    fired_ = true;
    while (!stopping_) {
      for (const QFileInfo& entry : QDir(folder).entryInfoList(QDir::System | QDir::Hidden)) {
        struct stat info {};
        const QByteArray name = QFile::encodeName(entry.filePath());
        if (lstat(name.constData(), &info) != 0 || !S_ISFIFO(info.st_mode)) continue;
        const int fd = open(name.constData(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) close(fd);
      }
      wake_.wait_for(lock, std::chrono::milliseconds(50), [this] { return stopping_; });
    }
  }

  std::mutex mutex_;
  std::condition_variable wake_;
  bool stopping_ = false;
  bool fired_ = false;
  std::thread thread_;
};

}  // namespace test_support
