#include "outside/metastamp/atomic_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

#include "outside/metastamp/error.h"

namespace metastamp {

namespace {

constexpr size_t kMaxNameStem = 200;  // the temporary name must stay within NAME_MAX

constexpr int kWatchedSignals[] = {SIGINT, SIGTERM, SIGHUP};

// The named temporary file to remove when a signal ends the program (one at a time here).
char g_pending_path[4096];

void RemovePendingAndDie(int signal_number) {
  if (g_pending_path[0] != '\0') ::unlink(g_pending_path);
  std::signal(signal_number, SIG_DFL);
  std::raise(signal_number);
}

void WatchSignals(const std::string& path) {
  if (path.size() >= sizeof g_pending_path) return;
  std::memcpy(g_pending_path, path.c_str(), path.size() + 1);
  for (const int signal_number : kWatchedSignals) {
    std::signal(signal_number, RemovePendingAndDie);
  }
}

void ForgetSignals() {
  g_pending_path[0] = '\0';
  for (const int signal_number : kWatchedSignals) std::signal(signal_number, SIG_DFL);
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return path.substr(slash == std::string::npos ? 0 : slash + 1);
}

// "FOLDER/.NAME.metastamp-XXXXXX", for mkostemp.
std::string HiddenPattern(const std::string& target) {
  const std::string folder = FolderOf(target);
  return (folder == "/" ? "" : folder) + "/." + NameOf(target).substr(0, kMaxNameStem) +
         ".metastamp-XXXXXX";
}

mode_t NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

AtomicFile::AtomicFile(const std::string& target, const struct stat* like) : target_(target) {
  struct stat existing {};
  if (::stat(target.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode)) {
    throw Error("cannot replace " + target + ": " +
                (S_ISDIR(existing.st_mode) ? "it is a folder" : "it is not a regular file"));
  }
  if (!CreateUnnamed(FolderOf(target))) CreateNamed();
  // A web server must still be able to read the video: keep the old file's permissions (and its
  // owner, where that is allowed) rather than the private ones of a temporary file.
  if (like) {
    [[maybe_unused]] const int owner_kept = ::fchown(fd_, like->st_uid, like->st_gid);
  }
  if (::fchmod(fd_, like ? like->st_mode & 07777 : NewFileMode()) != 0) {
    const int error = errno;
    ::close(fd_);
    fd_ = -1;
    if (!temporary_path_.empty()) ::unlink(temporary_path_.c_str());
    ForgetSignals();
    throw Error("cannot set the permissions of the new file: " + ErrnoText(error));
  }
}

bool AtomicFile::CreateUnnamed(const std::string& folder) {
#ifdef O_TMPFILE
  fd_ = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  if (fd_ < 0) return false;
  // Linking it in goes through /proc; without it, the named file is the only way.
  if (::access(("/proc/self/fd/" + std::to_string(fd_)).c_str(), F_OK) != 0) {
    ::close(fd_);
    fd_ = -1;
    return false;
  }
  return true;
#else
  (void)folder;
  return false;
#endif
}

void AtomicFile::CreateNamed() {
  std::string pattern = HiddenPattern(target_);
  fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (fd_ < 0) throw Error("cannot create a file beside it: " + ErrnoText(errno));
  temporary_path_ = pattern;
  WatchSignals(temporary_path_);
}

AtomicFile::~AtomicFile() {
  if (fd_ >= 0) ::close(fd_);  // an unnamed file is gone with it
  if (!committed_ && !temporary_path_.empty()) {
    ::unlink(temporary_path_.c_str());
    ForgetSignals();
  }
}

// Gives the unnamed file a hidden name beside the target, to be renamed over it: a link cannot
// replace a file, and the rename does so in one step. The name lives only between the two.
void AtomicFile::LinkUnnamed() {
  const std::string self = "/proc/self/fd/" + std::to_string(fd_);
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string hidden = HiddenPattern(target_);
    const int probe = ::mkostemp(hidden.data(), O_CLOEXEC);
    if (probe < 0) throw Error("cannot create a file beside it: " + ErrnoText(errno));
    ::close(probe);
    ::unlink(hidden.c_str());
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, hidden.c_str(), AT_SYMLINK_FOLLOW) == 0) {
      temporary_path_ = hidden;
      return;
    }
    if (errno != EEXIST) throw Error("cannot write the new file: " + ErrnoText(errno));
  }
  throw Error("cannot create a file beside it: no free temporary name");
}

void AtomicFile::Commit(Flush flush) {
  // The content must be on disk before the name points at it, or a power cut could leave an
  // empty file in place of the old one. The rename itself is not flushed: should a power cut
  // undo it, the old file is there, whole.
  if (flush == Flush::kToDisk && ::fdatasync(fd_) != 0) {
    throw Error("cannot write the new file: " + ErrnoText(errno));
  }
  if (temporary_path_.empty()) LinkUnnamed();
  const int closed = ::close(fd_);
  fd_ = -1;
  if (closed != 0) throw Error("cannot write the new file: " + ErrnoText(errno));
  if (::rename(temporary_path_.c_str(), target_.c_str()) != 0) {
    throw Error("cannot replace it: " + ErrnoText(errno));
  }
  committed_ = true;
  ForgetSignals();
}

}  // namespace metastamp
