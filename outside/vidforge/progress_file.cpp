#include "outside/vidforge/progress_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <string>

#include "outside/vidforge/av_error.h"

namespace vidforge {

ProgressFile::ProgressFile(bool enabled) {
  if (!enabled) return;
  fd_ = open("stat", O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  // Progress is a courtesy to the app: an unwritable working folder must not stop the encoding.
  if (fd_ < 0) Warn(std::string("cannot keep the progress file stat: ") + std::strerror(errno));
}

ProgressFile::~ProgressFile() {
  if (fd_ >= 0) close(fd_);
}

void ProgressFile::Update(double fraction) {
  if (!std::isfinite(fraction)) return;
  const int percent = std::clamp(static_cast<int>(fraction * 100), 0, 99);
  if (percent > percent_) Resize(percent);
}

void ProgressFile::Finish() {
  Resize(100);
}

void ProgressFile::Resize(int percent) {
  percent_ = percent;
  if (fd_ >= 0 && ftruncate(fd_, percent) != 0) {
    Warn(std::string("cannot update the progress file stat: ") + std::strerror(errno));
    close(fd_);
    fd_ = -1;
  }
}

}  // namespace vidforge
