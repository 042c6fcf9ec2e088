// Random access to the bytes of one FLV: a file, or a buffer for the tests and the fuzzer.
#pragma once

#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace metastamp {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual uint64_t Size() const = 0;
  // Reads up to buffer.size() bytes at `offset`; fewer only where the source ends.
  virtual size_t ReadAt(uint64_t offset, std::span<uint8_t> buffer) = 0;
  // Appends `length` bytes from `offset` to the file `out_fd` at its current position.
  virtual void CopyTo(int out_fd, uint64_t offset, uint64_t length);
};

class MemorySource : public ByteSource {
 public:
  explicit MemorySource(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  uint64_t Size() const override { return bytes_.size(); }
  size_t ReadAt(uint64_t offset, std::span<uint8_t> buffer) override;

 private:
  std::span<const uint8_t> bytes_;
};

// An open regular file. Its size is taken once, when it is opened.
class FileSource : public ByteSource {
 public:
  // Opens `path` for reading when it is a regular file, without ever waiting (a FIFO is refused
  // before it is opened); throws Error with a reason a user understands (missing, a folder...).
  explicit FileSource(const std::string& path);
  // Reads an already open file descriptor, which stays owned by the caller.
  explicit FileSource(int borrowed_fd);
  ~FileSource() override;
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;

  uint64_t Size() const override { return size_; }
  size_t ReadAt(uint64_t offset, std::span<uint8_t> buffer) override;
  void CopyTo(int out_fd, uint64_t offset, uint64_t length) override;

  int fd() const { return fd_; }
  const struct stat& info() const { return info_; }
  // Whether another program has changed the file (its size or time) since it was opened.
  bool ChangedSinceOpened() const;

 private:
  static void CheckKind(const struct stat& info);
  void ReadInfo();
  void CopyData(int out_fd, uint64_t offset, uint64_t length);
  void SkipHole(int out_fd, uint64_t length);

  int fd_ = -1;
  bool owned_ = false;
  uint64_t size_ = 0;
  struct stat info_ {};
};

// Writes all of `bytes` to `fd`; throws Error on failure (a full disk among them).
void WriteAll(int fd, std::span<const uint8_t> bytes);

}  // namespace metastamp
