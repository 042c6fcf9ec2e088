#include "encode/metadata_tool.h"

#include <tinyxml2.h>

#include <QFile>
#include <QStringList>
#include <cctype>
#include <limits>

#include "encode/encoder_contract.h"
#include "platform/process_runner.h"
#include "store/regular_file.h"

namespace encode {

namespace {

// The decimal number at the start of `text`: leading blanks, an optional sign, then digits up
// to the first other character ("320px" is 320); 0 without digits. Saturates at int's limits.
int LeadingDecimal(const char* text) {
  while (std::isspace(static_cast<unsigned char>(*text))) ++text;
  const bool negative = *text == '-';
  if (*text == '+' || *text == '-') ++text;
  long long value = 0;
  for (; std::isdigit(static_cast<unsigned char>(*text)); ++text) {
    value = value * 10 + (*text - '0');
    if (value > std::numeric_limits<int>::max()) {
      return negative ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max();
    }
  }
  return static_cast<int>(negative ? -value : value);
}

// The number in the text of the element `name` under `parent`; 0 when missing or empty.
int ChildNumber(const tinyxml2::XMLElement* parent, const char* name) {
  const tinyxml2::XMLElement* child = parent->FirstChildElement(name);
  if (!child || !child->GetText()) return 0;
  return LeadingDecimal(child->GetText());
}

}  // namespace

void RunMetadataTool(const QString& program_folder, const QString& flv_path, bool report_size) {
  QStringList arguments = {flv_path};
  if (report_size) arguments << "/x";
  platform::RunHiddenAndWait(JoinPath(program_folder, "metastamp"), arguments, program_folder);
}

QString FlvReportPath(const QString& flv_path) {
  const qsizetype dot = flv_path.lastIndexOf('.');
  return (dot > 0 ? flv_path.left(dot) : flv_path) + ".xml";
}

FrameSize ReadFlvFrameSize(const QString& flv_path) {
  FrameSize size;
  const QString report_path = FlvReportPath(flv_path);
  if (!QFile::exists(report_path)) return size;

  // Read only as a plain file: a FIFO in the report's place would otherwise stop the app.
  QFile file;
  const QByteArray xml =
      store::OpenRegularFileForReading(file, report_path) ? file.read(64 * 1024) : "";
  tinyxml2::XMLDocument report;
  if (report.Parse(xml.constData(), size_t(xml.size())) == tinyxml2::XML_SUCCESS) {
    if (const tinyxml2::XMLElement* root = report.FirstChildElement("root")) {
      size.width = ChildNumber(root, "width");
      size.height = ChildNumber(root, "height");
    }
  }
  QFile::remove(report_path);
  return size;
}

}  // namespace encode
