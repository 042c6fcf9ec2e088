// The FLV is written to a file with no name yet and linked in under the output's name only when
// complete: the app takes an existing, non-empty output as a finished encoding, so half a file
// must never carry the output's name, and a run killed outright must leave nothing behind.
// Where the file system cannot make unnamed files, a hidden temporary name beside the output
// is used instead and renamed over it (a kill -9 then leaves that file).
#pragma once

#include <filesystem>

namespace vidforge {

class TemporaryFile {
 public:
  // Creates an empty file in the folder of `final_path`, readable as a normal new file would be.
  explicit TemporaryFile(const std::filesystem::path& final_path);
  // Removes the file unless it has been moved into place.
  ~TemporaryFile();
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  // A name that opens the file for writing (for an unnamed file, its link under /proc).
  const std::filesystem::path& path() const { return path_; }
  // Gives the complete file the final name, replacing whatever file has it.
  void MoveIntoPlace();

 private:
  bool CreateUnnamed(const std::filesystem::path& folder);
  void CreateNamed(const std::filesystem::path& folder);
  void LinkUnnamedIntoPlace();

  std::filesystem::path path_;
  std::filesystem::path final_path_;
  int unnamed_fd_ = -1;  // the unnamed file, kept open until it has a name
  bool moved_ = false;
};

}  // namespace vidforge
