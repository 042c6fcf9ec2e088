// The new onMetaData of a surveyed FLV, and where everything lands in the new file.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "outside/metastamp/flv_survey.h"

namespace metastamp {

inline constexpr char kMetadataCreator[] = "Reelwright metastamp";

struct StampedLayout {
  std::vector<uint8_t> metadata_body;  // the onMetaData script tag's body
  uint64_t first_tag_position = 0;     // where the first kept tag starts in the new file
  uint64_t file_size = 0;
};

// Key frame positions and the file size depend on the size of the onMetaData that holds them.
// Every AMF number is 9 bytes whatever its value, so one build with the sizes still unknown
// gives that size, and a second build the final bytes.
StampedLayout LayOutStampedFile(const FlvSurvey& survey);

// The onMetaData for the file as it stands, to be written over an old one in place: the tags
// keep their positions (the first of them at `first_tag_position`) and the body is padded to
// exactly `body_size` bytes. Nothing when it does not fit in that room.
std::optional<StampedLayout> LayOutInPlace(const FlvSurvey& survey, uint64_t first_tag_position,
                                           uint64_t file_size, size_t body_size);

}  // namespace metastamp
