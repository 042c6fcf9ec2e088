// A new version of a file, written beside it and given the file's name only once complete and
// on disk: a crash, a kill or a full disk never leaves half a file in its place. The new file
// has no name while it is written (where the file system allows), so a kill -9 leaves nothing
// behind; elsewhere it has a hidden temporary name, which a kill -9 or a power cut may leave.
#pragma once

#include <sys/stat.h>

#include <string>

namespace metastamp {

class AtomicFile {
 public:
  // Creates the new file in the folder of `target`. The new file gets the permissions and
  // owner of `like` when given (the file it replaces), else those of a newly created file.
  // Throws Error when `target` leads to something other than a regular file (a device, a FIFO,
  // a folder): only a plain file is ever replaced.
  AtomicFile(const std::string& target, const struct stat* like);
  ~AtomicFile();  // removes the new file unless committed
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  int fd() const { return fd_; }

  enum class Flush { kToDisk, kNotNeeded };
  // Gives the new file the target's name, after flushing it to disk unless it is a file that is
  // simply made again should a power cut lose it. Throws Error on failure.
  void Commit(Flush flush = Flush::kToDisk);

 private:
  bool CreateUnnamed(const std::string& folder);
  void CreateNamed();
  void LinkUnnamed();

  std::string target_;
  std::string temporary_path_;  // empty while the new file has no name
  int fd_ = -1;
  bool committed_ = false;
};

}  // namespace metastamp
