#include "outside/metastamp/byte_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "outside/metastamp/error.h"

namespace metastamp {

namespace {
constexpr size_t kCopyBufferSize = 1 << 20;
}

void ByteSource::CopyTo(int out_fd, uint64_t offset, uint64_t length) {
  std::vector<uint8_t> buffer(std::min<uint64_t>(length, kCopyBufferSize));
  while (length > 0) {
    const size_t chunk = std::min<uint64_t>(length, buffer.size());
    if (ReadAt(offset, std::span(buffer.data(), chunk)) != chunk) {
      throw Error("the file got shorter while it was being copied");
    }
    WriteAll(out_fd, std::span(buffer.data(), chunk));
    offset += chunk;
    length -= chunk;
  }
}

size_t MemorySource::ReadAt(uint64_t offset, std::span<uint8_t> buffer) {
  if (offset >= bytes_.size()) return 0;
  const size_t count = std::min<uint64_t>(buffer.size(), bytes_.size() - offset);
  std::memcpy(buffer.data(), bytes_.data() + offset, count);
  return count;
}

FileSource::FileSource(const std::string& path) : owned_(true) {
  // The kind is checked before opening: opening a FIFO waits for a writer, a device may act.
  struct stat kind {};
  if (::stat(path.c_str(), &kind) != 0) {
    if (errno == ENOENT) throw Error("no such file");
    throw Error("cannot open it: " + ErrnoText(errno));
  }
  CheckKind(kind);
  // Not blocking, should the name have become a FIFO since; ReadInfo checks again what opened.
  fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd_ < 0) {
    if (errno == ENOENT) throw Error("no such file");
    throw Error("cannot open it: " + ErrnoText(errno));
  }
  try {
    ReadInfo();
  } catch (...) {
    ::close(fd_);
    throw;
  }
}

FileSource::FileSource(int borrowed_fd) : fd_(borrowed_fd) {
  ReadInfo();
}

void FileSource::CheckKind(const struct stat& info) {
  if (S_ISDIR(info.st_mode)) throw Error("is a folder, not an FLV file");
  if (!S_ISREG(info.st_mode)) throw Error("is not a regular file");
}

void FileSource::ReadInfo() {
  if (::fstat(fd_, &info_) != 0) throw Error("cannot read its size: " + ErrnoText(errno));
  CheckKind(info_);
  size_ = static_cast<uint64_t>(info_.st_size);
}

bool FileSource::ChangedSinceOpened() const {
  struct stat now {};
  if (::fstat(fd_, &now) != 0) return true;
  return now.st_size != info_.st_size || now.st_mtim.tv_sec != info_.st_mtim.tv_sec ||
         now.st_mtim.tv_nsec != info_.st_mtim.tv_nsec;
}

FileSource::~FileSource() {
  if (owned_ && fd_ >= 0) ::close(fd_);
}

size_t FileSource::ReadAt(uint64_t offset, std::span<uint8_t> buffer) {
  size_t done = 0;
  while (done < buffer.size()) {
    const ssize_t got =
        ::pread(fd_, buffer.data() + done, buffer.size() - done, static_cast<off_t>(offset + done));
    if (got < 0) {
      if (errno == EINTR) continue;
      throw Error("cannot read it: " + ErrnoText(errno));
    }
    if (got == 0) break;
    done += static_cast<size_t>(got);
  }
  return done;
}

void FileSource::CopyTo(int out_fd, uint64_t offset, uint64_t length) {
  // Holes stay holes: a sparse stretch is skipped in the new file instead of being written out
  // as zeros, which the kernel's copy would do on most file systems.
  const uint64_t end = offset + length;
  while (offset < end) {
    const off_t data = ::lseek(fd_, static_cast<off_t>(offset), SEEK_DATA);
    // No more data before the end (ENXIO), or a file system that cannot tell (EINVAL): the
    // first leaves a hole to the end, the second copies everything.
    if (data < 0 && errno != ENXIO) {
      CopyData(out_fd, offset, end - offset);
      return;
    }
    const uint64_t data_begin = data < 0 ? end : std::min<uint64_t>(data, end);
    if (data_begin > offset) SkipHole(out_fd, data_begin - offset);
    if (data_begin >= end) return;
    const off_t hole = ::lseek(fd_, static_cast<off_t>(data_begin), SEEK_HOLE);
    const uint64_t data_end = hole < 0 ? end : std::min<uint64_t>(hole, end);
    CopyData(out_fd, data_begin, data_end - data_begin);
    offset = data_end;
  }
}

void FileSource::SkipHole(int out_fd, uint64_t length) {
  const off_t position = ::lseek(out_fd, static_cast<off_t>(length), SEEK_CUR);
  // The new file must reach its full size even when it ends in a hole.
  if (position < 0 || ::ftruncate(out_fd, position) != 0) {
    throw Error("cannot write the new file: " + ErrnoText(errno));
  }
}

void FileSource::CopyData(int out_fd, uint64_t offset, uint64_t length) {
  // The kernel copies without passing the bytes through this process; where it cannot (another
  // file system, an old kernel), the plain read and write loop does the rest.
  auto in_offset = static_cast<off_t>(offset);
  while (length > 0) {
    const ssize_t copied = ::copy_file_range(fd_, &in_offset, out_fd, nullptr, length, 0);
    if (copied > 0) {
      length -= static_cast<uint64_t>(copied);
      continue;
    }
    if (copied == 0) throw Error("the file got shorter while it was being copied");
    if (errno == EINTR) continue;
    if (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP ||
        errno == EBADF) {
      ByteSource::CopyTo(out_fd, static_cast<uint64_t>(in_offset), length);
      return;
    }
    throw Error("cannot write the new file: " + ErrnoText(errno));
  }
}

void WriteAll(int fd, std::span<const uint8_t> bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      throw Error("cannot write the new file: " + ErrnoText(errno));
    }
    bytes = bytes.subspan(static_cast<size_t>(written));
  }
}

}  // namespace metastamp
