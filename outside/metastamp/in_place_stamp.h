// "metastamp FILE.flv" on a file whose onMetaData already has room for the new one (as the
// encoder leaves it): only that tag's content is rewritten, where it lies.
#pragma once

#include <string>

#include "outside/metastamp/byte_source.h"
#include "outside/metastamp/flv_survey.h"

namespace metastamp {

// Writes the new onMetaData over the old one and flushes it, when the file is laid out as a
// stamped file would be (header, one onMetaData first, then the media) and the old tag has the
// room. Returns false, having written nothing, when it is not; the file then has to be copied.
// Throws Error when the write fails.
bool StampInPlace(const std::string& path, FileSource& source, const FlvSurvey& survey);

}  // namespace metastamp
