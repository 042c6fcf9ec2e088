// Any bytes as a project file: loading must not crash or hang, and a job saved once must load
// back and save again to the very same text, whatever the starting state of the window.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "store/project_reader.h"
#include "store/project_writer.h"

namespace {

void Check(bool condition, const char* what) {
  if (!condition) {
    fprintf(stderr, "broken: %s\n", what);
    abort();
  }
}

store::ProjectSnapshot OtherWindow() {
  store::ProjectSnapshot job;
  job.page_title = "other";
  job.input_video = "other.avi";
  job.affiliate_id = "other-id";
  job.preset_name = "Other";
  job.which_file = 2;
  job.which_player = 5;
  job.enabled_audio = false;
  job.players_url.Set(true, "other/");
  return job;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));

  // The whole input as one line too, through the URL option parser.
  if (const auto line = store::ClassifyProjectLine(QString::fromUtf8(bytes))) {
    store::ExternalUrlOption option(store::kJsUrlKey);
    option.ParseUrlOptionLine(line->text);
  }

  const store::ProjectSnapshot loaded = store::LoadProjectText(bytes, store::ProjectSnapshot());
  const QString saved = store::ProjectFileText(loaded);
  const store::ProjectSnapshot reloaded =
      store::LoadProjectText(saved.toUtf8(), store::ProjectSnapshot());
  Check(store::ProjectFileText(reloaded) == saved, "a saved job saves again the same");
  Check(store::LoadProjectText(saved.toUtf8(), OtherWindow()) == reloaded,
        "a saved job loads the same over any window");
  return 0;
}
