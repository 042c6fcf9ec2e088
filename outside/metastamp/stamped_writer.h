// Writes the new FLV: its header, the new onMetaData, then the kept tags copied unchanged.
#pragma once

#include "outside/metastamp/byte_source.h"
#include "outside/metastamp/flv_survey.h"
#include "outside/metastamp/metadata_builder.h"

namespace metastamp {

// Appends the whole new file to `out_fd`; throws Error when a write fails.
void WriteStampedFlv(ByteSource& source, const FlvSurvey& survey, const StampedLayout& layout,
                     int out_fd);

}  // namespace metastamp
