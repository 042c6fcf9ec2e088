// A new version of a file, written beside it under a hidden temporary name and renamed over it
// only once complete and on disk: a crash, a kill or a full disk never leaves half a file in its
// place, only (at worst, after a kill -9 or a power cut) a stray temporary file.
#pragma once

#include <sys/stat.h>

#include <string>

namespace metastamp {

class AtomicFile {
 public:
  // Creates the temporary file in the folder of `target`. The new file gets the permissions and
  // owner of `like` when given (the file it replaces), else those of a newly created file.
  AtomicFile(const std::string& target, const struct stat* like);
  ~AtomicFile();  // removes the temporary file unless committed
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  int fd() const { return fd_; }
  const std::string& temporary_path() const { return temporary_path_; }

  // Flushes the content to disk and renames it over the target; throws Error on failure.
  void Commit();

 private:
  std::string target_;
  std::string temporary_path_;
  int fd_ = -1;
  bool committed_ = false;
};

}  // namespace metastamp
