#include "outside/metastamp/size_report.h"

#include <span>

#include "outside/metastamp/atomic_file.h"
#include "outside/metastamp/byte_source.h"
#include "outside/metastamp/error.h"
#include "outside/metastamp/size_probe.h"

namespace metastamp {

std::string SizeReportPath(const std::string& flv_path) {
  const size_t dot = flv_path.rfind('.');
  const bool cut = dot != std::string::npos && dot != 0;
  return (cut ? flv_path.substr(0, dot) : flv_path) + ".xml";
}

std::string SizeReportXml(FrameSize size) {
  return "<?xml version=\"1.0\"?>\n<root>\n  <width>" + std::to_string(size.width) +
         "</width>\n  <height>" + std::to_string(size.height) + "</height>\n</root>\n";
}

void WriteSizeReport(const std::string& flv_path) {
  std::optional<FrameSize> size;
  {
    FileSource source(flv_path);
    size = ProbeFrameSize(source);
  }
  if (!size) throw Error("no frame size found, neither in the video nor in its onMetaData");
  const std::string xml = SizeReportXml(*size);
  AtomicFile report(SizeReportPath(flv_path), nullptr);
  WriteAll(report.fd(), std::span(reinterpret_cast<const uint8_t*>(xml.data()), xml.size()));
  // The app reads the report at once and deletes it: it needs to be whole, not durable.
  report.Commit(AtomicFile::Flush::kNotNeeded);
}

}  // namespace metastamp
