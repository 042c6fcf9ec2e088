#include "outside/metastamp/in_place_stamp.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <vector>

#include "outside/metastamp/error.h"
#include "outside/metastamp/flv_format.h"
#include "outside/metastamp/metadata_builder.h"
#include "outside/metastamp/script_tag.h"

// Why an interrupted write cannot damage the video: the tag keeps its size, so its header, the
// size field after it and every other tag keep every byte and the place they had; the write
// covers only the onMetaData's properties, never its name, which is the same in the old and the
// new tag. Whatever part of the write is lost (a kill, a file size limit, a full disk, a power
// cut), the file still reads tag by tag with all its sound and pictures, and the next run still
// finds the onMetaData by its name, in the same room, and writes it whole.

namespace metastamp {

namespace {

// The file header and the first tag's header as a stamped file has them: only then are the
// positions the new onMetaData gives those of the file as it stands.
constexpr uint64_t kMetadataTagOffset = kFileHeaderSize + kTagSizeFieldSize;
constexpr uint64_t kMetadataBodyOffset = kMetadataTagOffset + kTagHeaderSize;
// The name, "onMetaData" as an AMF string, is never rewritten.
constexpr size_t kNameBytes = kScriptNameBytes;

bool HasStampedLayout(FileSource& source, const FlvSurvey& survey) {
  if (survey.old_metadata_count != 1 || !survey.first_old_metadata_body) return false;
  const ByteRange body = *survey.first_old_metadata_body;
  if (body.begin != kMetadataBodyOffset || body.end - body.begin < kNameBytes) return false;
  if (survey.missing_last_size_field || survey.kept.size() != 1) return false;
  if (survey.kept[0].begin != body.end + kTagSizeFieldSize) return false;
  if (survey.kept[0].end != source.Size()) return false;

  std::array<uint8_t, kMetadataBodyOffset> head{};
  if (source.ReadAt(0, head) != head.size()) return false;
  const uint8_t flags =
      (survey.has_audio ? kHeaderFlagAudio : 0) | (survey.has_video ? kHeaderFlagVideo : 0);
  const std::array<uint8_t, kMetadataTagOffset> file_header = {
      'F', 'L', 'V', 1, flags, 0, 0, 0, kFileHeaderSize, 0, 0, 0, 0};
  if (!std::equal(file_header.begin(), file_header.end(), head.begin())) return false;
  // A plain script tag (not encrypted) at time 0 on stream 0.
  const uint8_t* tag = head.data() + kMetadataTagOffset;
  return tag[0] == kTagScript &&
         std::all_of(tag + 4, tag + kTagHeaderSize, [](uint8_t byte) { return byte == 0; });
}

// The same file as `source`, open for writing; -1 when it cannot be (a read-only file: the
// copy, which replaces it, may still be allowed).
int OpenForWriting(const std::string& path, const FileSource& source) {
  // Non-blocking: should the name have become a pipe since, opening it must not wait.
  const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || info.st_dev != source.info().st_dev ||
      info.st_ino != source.info().st_ino) {
    ::close(fd);
    return -1;
  }
  return fd;
}

void WriteAllAt(int fd, std::span<const uint8_t> bytes, uint64_t offset) {
  while (!bytes.empty()) {
    const ssize_t written = ::pwrite(fd, bytes.data(), bytes.size(), static_cast<off_t>(offset));
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      throw Error("cannot write the new onMetaData: " + ErrnoText(written < 0 ? errno : ENOSPC) +
                  " (the sound and pictures are untouched; run again to finish)");
    }
    bytes = bytes.subspan(static_cast<size_t>(written));
    offset += static_cast<uint64_t>(written);
  }
}

}  // namespace

bool StampInPlace(const std::string& path, FileSource& source, const FlvSurvey& survey) {
  if (!HasStampedLayout(source, survey)) return false;
  const ByteRange old_body = *survey.first_old_metadata_body;
  const auto layout = LayOutInPlace(survey, survey.kept[0].begin, source.Size(),
                                    static_cast<size_t>(old_body.end - old_body.begin));
  if (!layout) return false;

  // The name stays as it is: it must be the very bytes the new tag starts with.
  std::vector<uint8_t> old_body_bytes(layout->metadata_body.size());
  if (source.ReadAt(old_body.begin, old_body_bytes) != old_body_bytes.size()) {
    throw Error("the file got shorter while it was being read");
  }
  if (!std::equal(old_body_bytes.begin(), old_body_bytes.begin() + kNameBytes,
                  layout->metadata_body.begin())) {
    return false;
  }
  const std::span<const uint8_t> properties = std::span(layout->metadata_body).subspan(kNameBytes);
  const std::span<const uint8_t> old_properties = std::span(old_body_bytes).subspan(kNameBytes);
  const uint64_t offset = old_body.begin + kNameBytes;
  if (source.ChangedSinceOpened()) {
    throw Error("the file changed while it was being read (is it still being written?)");
  }
  if (std::equal(properties.begin(), properties.end(), old_properties.begin())) return true;

  const int fd = OpenForWriting(path, source);
  if (fd < 0) return false;
  try {
    WriteAllAt(fd, properties, offset);
    if (::fdatasync(fd) != 0) {
      throw Error("cannot write the new onMetaData: " + ErrnoText(errno) +
                  " (the sound and pictures are untouched; run again to finish)");
    }
  } catch (...) {
    ::close(fd);
    throw;
  }
  ::close(fd);
  return true;
}

}  // namespace metastamp
