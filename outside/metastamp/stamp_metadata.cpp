#include "outside/metastamp/stamp_metadata.h"

#include <climits>
#include <cstdlib>

#include "outside/metastamp/atomic_file.h"
#include "outside/metastamp/byte_source.h"
#include "outside/metastamp/error.h"
#include "outside/metastamp/flv_survey.h"
#include "outside/metastamp/in_place_stamp.h"
#include "outside/metastamp/metadata_builder.h"
#include "outside/metastamp/stamped_writer.h"

namespace metastamp {

namespace {

// The file a link points to: that file is rewritten, and the link stays a link.
std::string RealPath(const std::string& path) {
  char resolved[PATH_MAX];
  return ::realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

}  // namespace

void StampMetadata(const std::string& path) {
  FileSource source(path);
  const FlvSurvey survey = SurveyFlv(source);
  if (!survey.has_media()) throw Error("no audio or video in the file, nothing to describe");
  // A file the encoder wrote (or one stamped before) has room for the new onMetaData.
  if (StampInPlace(path, source, survey)) return;
  const StampedLayout layout = LayOutStampedFile(survey);

  AtomicFile output(RealPath(path), &source.info());
  WriteStampedFlv(source, survey, layout, output.fd());
  if (source.ChangedSinceOpened()) {
    throw Error("the file changed while it was being read (is it still being written?)");
  }
  output.Commit();
}

}  // namespace metastamp
