#include "outside/vidforge/temporary_file.h"

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

// A run stopped by a signal removes its temporary file too; the handler may only use what is
// async-signal-safe, so the path waits in a fixed buffer.
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

}  // namespace

TemporaryFile::TemporaryFile(const std::filesystem::path& final_path) : final_path_(final_path) {
  std::filesystem::path folder = final_path.parent_path();
  if (folder.empty()) folder = ".";
  // A name near the file system's limit still leaves room for the hidden prefix and suffix.
  std::string name = final_path.filename().string().substr(0, 200);
  std::string pattern = (folder / ("." + name + ".XXXXXX")).string();
  const int fd = mkstemp(pattern.data());
  if (fd < 0) throw EncodeError(SystemError("cannot write " + final_path.string()));
  // mkstemp makes the file private; the FLV is meant for publishing, so it gets the usual mode.
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask);
  close(fd);
  path_ = pattern;
  RemoveOnSignal(pattern);
}

TemporaryFile::~TemporaryFile() {
  if (moved_) return;
  ForgetOnSignal();
  std::error_code ignored;
  std::filesystem::remove(path_, ignored);
}

void TemporaryFile::MoveIntoPlace() {
  if (std::rename(path_.c_str(), final_path_.c_str()) != 0)
    throw EncodeError(SystemError("cannot write " + final_path_.string()));
  moved_ = true;
  ForgetOnSignal();
}

}  // namespace vidforge
