#include "outside/metastamp/stamped_writer.h"

#include <fcntl.h>

#include <algorithm>
#include <array>
#include <vector>

#include "outside/metastamp/flv_format.h"

namespace metastamp {

namespace {

std::vector<uint8_t> HeaderAndMetadataTag(const FlvSurvey& survey, const StampedLayout& layout) {
  const auto& body = layout.metadata_body;
  std::vector<uint8_t> bytes(layout.first_tag_position);
  uint8_t* out = bytes.data();
  // File header: the flags say what the file really holds, whatever the old ones said.
  out[0] = 'F';
  out[1] = 'L';
  out[2] = 'V';
  out[3] = 1;
  out[4] = (survey.has_audio ? kHeaderFlagAudio : 0) | (survey.has_video ? kHeaderFlagVideo : 0);
  PutU32(out + 5, kFileHeaderSize);
  PutU32(out + kFileHeaderSize, 0);  // no tag before the first
  // The script tag (its timestamp and stream id stay 0), and its size after it.
  out += kFileHeaderSize + kTagSizeFieldSize;
  out[0] = kTagScript;
  PutU24(out + 1, static_cast<uint32_t>(body.size()));
  std::copy(body.begin(), body.end(), out + kTagHeaderSize);
  PutU32(out + kTagHeaderSize + body.size(), static_cast<uint32_t>(kTagHeaderSize + body.size()));
  return bytes;
}

// The new file must be on disk before it replaces the old one. Copying runs faster than the
// disk writes, so the copy goes in slices and each slice is handed to the disk at once: the
// flush before the rename then finds little left to do.
constexpr uint64_t kSliceSize = 16 << 20;

void CopyInSlices(ByteSource& source, const ByteRange& range, int out_fd, uint64_t& written) {
  for (uint64_t offset = range.begin; offset < range.end;) {
    const uint64_t slice = std::min(kSliceSize, range.end - offset);
    source.CopyTo(out_fd, offset, slice);
    // Only a head start: where the file system cannot, the flush does it all.
    ::sync_file_range(out_fd, static_cast<off_t>(written), static_cast<off_t>(slice),
                      SYNC_FILE_RANGE_WRITE);
    offset += slice;
    written += slice;
  }
}

}  // namespace

void WriteStampedFlv(ByteSource& source, const FlvSurvey& survey, const StampedLayout& layout,
                     int out_fd) {
  WriteAll(out_fd, HeaderAndMetadataTag(survey, layout));
  uint64_t written = layout.first_tag_position;
  for (const ByteRange& range : survey.kept) CopyInSlices(source, range, out_fd, written);
  if (survey.missing_last_size_field) {
    std::array<uint8_t, kTagSizeFieldSize> field{};
    PutU32(field.data(), *survey.missing_last_size_field);
    WriteAll(out_fd, field);
  }
}

}  // namespace metastamp
