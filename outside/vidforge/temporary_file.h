// The FLV is written under a hidden temporary name beside the output and renamed over it only
// when complete: the app takes an existing, non-empty output as a finished encoding, so half a
// file must never carry the output's name.
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

  const std::filesystem::path& path() const { return path_; }
  // Renames the file over the final path.
  void MoveIntoPlace();

 private:
  std::filesystem::path path_;
  std::filesystem::path final_path_;
  bool moved_ = false;
};

}  // namespace vidforge
