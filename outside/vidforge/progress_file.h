// The encoder tells the app how far it is through the size of the file "stat" in its working
// folder: the size in bytes is the percentage done. The content is never written.
#pragma once

namespace vidforge {

class ProgressFile {
 public:
  // Creates or empties "stat" in the working folder; without `enabled` it does nothing at all.
  explicit ProgressFile(bool enabled);
  ~ProgressFile();
  ProgressFile(const ProgressFile&) = delete;
  ProgressFile& operator=(const ProgressFile&) = delete;

  // Records `fraction` (0..1) of the work as done; below 100 until Finish, and never shrinking.
  void Update(double fraction);
  // The work is complete: the size becomes 100.
  void Finish();

 private:
  void Resize(int percent);

  int fd_ = -1;
  int percent_ = 0;
};

}  // namespace vidforge
