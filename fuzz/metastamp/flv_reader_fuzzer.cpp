// Feeds arbitrary bytes to metastamp's FLV reader in both of its forms. Beyond "no crash, no
// undefined behaviour", it checks what must hold for every file: finding the tags on several
// threads changes nothing; and for every file metastamp accepts: the new file has the size its
// onMetaData claims, that onMetaData reads back, and stamping the new file again gives the same
// bytes.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "outside/metastamp/amf0.h"
#include "outside/metastamp/byte_source.h"
#include "outside/metastamp/error.h"
#include "outside/metastamp/flv_survey.h"
#include "outside/metastamp/metadata_builder.h"
#include "outside/metastamp/size_probe.h"
#include "outside/metastamp/stamped_writer.h"
#include "outside/metastamp/tag_heads.h"

using namespace metastamp;

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

// An in-memory file, reused from input to input.
class MemoryFile {
 public:
  MemoryFile() : fd_(::memfd_create("stamped", MFD_CLOEXEC)) { Require(fd_ >= 0); }
  int Reset() {
    Require(::ftruncate(fd_, 0) == 0 && ::lseek(fd_, 0, SEEK_SET) == 0);
    return fd_;
  }
  std::vector<uint8_t> Contents() const {
    FileSource source(fd_);
    std::vector<uint8_t> bytes(source.Size());
    Require(source.ReadAt(0, bytes) == bytes.size());
    return bytes;
  }
  int fd() const { return fd_; }

 private:
  int fd_;
};

void RequireReadableMetadata(const std::vector<uint8_t>& body) {
  Amf0Reader reader(body);
  const auto name = reader.Read();
  Require(name && name->text == "onMetaData");
  int properties = 0;
  Require(reader.ReadProperties([&](std::string_view, const Amf0Value&) { ++properties; }));
  Require(properties > 0);
}

// Stamps `source` into `out`; false when metastamp refuses the file.
bool Stamp(ByteSource& source, MemoryFile& out, StampedLayout& layout) {
  FlvSurvey survey;
  try {
    survey = SurveyFlv(source);
    if (!survey.has_media()) return false;
    layout = LayOutStampedFile(survey);
  } catch (const Error&) {
    return false;
  }
  WriteStampedFlv(source, survey, layout, out.Reset());
  return true;
}

// The survey, or the error that ended it.
std::string SurveyOutcome(ByteSource& source, const TagScanPlan& plan, FlvSurvey& survey) {
  try {
    survey = SurveyFlv(source, plan);
    return {};
  } catch (const Error& error) {
    return error.what();
  }
}

// Tags found on several threads give the survey one walk gives, whatever the bytes.
void RequireSameSurveyOnThreads(ByteSource& source) {
  FlvSurvey alone;
  FlvSurvey shared;
  const std::string alone_outcome = SurveyOutcome(source, {1, 0}, alone);
  Require(SurveyOutcome(source, {3, 0}, shared) == alone_outcome);
  Require(shared == alone);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static MemoryFile first;
  static MemoryFile second;
  MemorySource input(std::span(data, size));

  try {
    ProbeFrameSize(input);
  } catch (const Error&) {
  }

  RequireSameSurveyOnThreads(input);

  StampedLayout layout;
  if (!Stamp(input, first, layout)) return 0;
  const std::vector<uint8_t> stamped = first.Contents();
  Require(stamped.size() == layout.file_size);
  RequireReadableMetadata(layout.metadata_body);

  MemorySource again(stamped);
  StampedLayout second_layout;
  Require(Stamp(again, second, second_layout));
  Require(second.Contents() == stamped);
  return 0;
}
