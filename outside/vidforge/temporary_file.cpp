#include "outside/vidforge/temporary_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <string>

#include "outside/vidforge/av_error.h"

namespace vidforge {
namespace {

// A run stopped by a signal removes a named temporary file too; the handler may only use what
// is async-signal-safe, so the path waits in a fixed buffer.
std::array<char, 4096> pending_path{};
volatile std::sig_atomic_t has_pending_path = 0;

extern "C" void RemovePendingFileAndDie(int signal_number) {
  if (has_pending_path) unlink(pending_path.data());
  std::signal(signal_number, SIG_DFL);
  std::raise(signal_number);
}

void RemoveOnSignal(const std::string& path) {
  if (path.size() >= pending_path.size()) return;
  std::memcpy(pending_path.data(), path.c_str(), path.size() + 1);
  has_pending_path = 1;
  for (int signal_number : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction action = {};
    action.sa_handler = RemovePendingFileAndDie;
    sigaction(signal_number, &action, nullptr);
  }
}

void ForgetOnSignal() {
  has_pending_path = 0;
}

std::string SystemError(const std::string& what) {
  return what + ": " + std::strerror(errno);
}

mode_t NewFileMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

// "FOLDER/.NAME.XXXXXX": a hidden name beside the output, within the file system's name limit.
std::string HiddenPattern(const std::filesystem::path& folder,
                          const std::filesystem::path& final_path) {
  const std::string name = final_path.filename().string().substr(0, 200);
  return (folder / ("." + name + ".XXXXXX")).string();
}

}  // namespace

TemporaryFile::TemporaryFile(const std::filesystem::path& final_path) : final_path_(final_path) {
  std::filesystem::path folder = final_path.parent_path();
  if (folder.empty()) folder = ".";
  if (!CreateUnnamed(folder)) CreateNamed(folder);
}

bool TemporaryFile::CreateUnnamed(const std::filesystem::path& folder) {
#ifdef O_TMPFILE
  // Private until complete: the writer reopens it through /proc, which needs the owner's write.
  const int fd = open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  const std::string link = "/proc/self/fd/" + std::to_string(fd);
  // Without /proc the file could neither be reopened nor linked in.
  if (access(link.c_str(), W_OK) != 0) {
    close(fd);
    return false;
  }
  unnamed_fd_ = fd;
  path_ = link;
  return true;
#else
  (void)folder;
  return false;
#endif
}

void TemporaryFile::CreateNamed(const std::filesystem::path& folder) {
  std::string pattern = HiddenPattern(folder, final_path_);
  const int fd = mkstemp(pattern.data());
  if (fd < 0) throw EncodeError(SystemError("cannot write " + final_path_.string()));
  // mkstemp makes the file private; the FLV is meant for publishing, so it gets the usual mode.
  fchmod(fd, NewFileMode());
  close(fd);
  path_ = pattern;
  RemoveOnSignal(pattern);
}

TemporaryFile::~TemporaryFile() {
  if (unnamed_fd_ >= 0) {
    close(unnamed_fd_);  // an unnamed file goes with its last descriptor
    return;
  }
  if (moved_) return;
  ForgetOnSignal();
  std::error_code ignored;
  std::filesystem::remove(path_, ignored);
}

void TemporaryFile::MoveIntoPlace() {
  if (unnamed_fd_ >= 0) {
    LinkUnnamedIntoPlace();
  } else if (std::rename(path_.c_str(), final_path_.c_str()) != 0) {
    throw EncodeError(SystemError("cannot write " + final_path_.string()));
  }
  moved_ = true;
  ForgetOnSignal();
}

void TemporaryFile::LinkUnnamedIntoPlace() {
  const std::string cannot = "cannot write " + final_path_.string();
  if (fchmod(unnamed_fd_, NewFileMode()) != 0) throw EncodeError(SystemError(cannot));
  // The name is free unless an earlier encoding is there, which the new one replaces.
  if (linkat(AT_FDCWD, path_.c_str(), AT_FDCWD, final_path_.c_str(), AT_SYMLINK_FOLLOW) == 0)
    return;
  if (errno != EEXIST) throw EncodeError(SystemError(cannot));
  // Replace what has the name as a rename would, through a hidden name that exists only for
  // the moment between the link and the rename.
  std::filesystem::path folder = final_path_.parent_path();
  if (folder.empty()) folder = ".";
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string hidden = HiddenPattern(folder, final_path_);
    const int probe = mkstemp(hidden.data());
    if (probe < 0) throw EncodeError(SystemError(cannot));
    close(probe);
    unlink(hidden.c_str());
    if (linkat(AT_FDCWD, path_.c_str(), AT_FDCWD, hidden.c_str(), AT_SYMLINK_FOLLOW) != 0) {
      if (errno == EEXIST) continue;
      throw EncodeError(SystemError(cannot));
    }
    if (std::rename(hidden.c_str(), final_path_.c_str()) != 0) {
      const int error = errno;
      unlink(hidden.c_str());
      errno = error;
      throw EncodeError(SystemError(cannot));
    }
    return;
  }
  throw EncodeError(cannot + ": no free temporary name");
}

}  // namespace vidforge
