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

  enum class Flush { kToDisk, kNotNeeded };
  // Renames the new file over the target, after flushing it to disk unless it is a file that is
  // simply made again should a power cut lose it. Throws Error on failure.
  void Commit(Flush flush = Flush::kToDisk);

 private:
  std::string target_;
  std::string temporary_path_;
  int fd_ = -1;
  bool committed_ = false;
};

}  // namespace metastamp
