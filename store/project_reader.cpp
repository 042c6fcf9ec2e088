#include "store/project_reader.h"

#include <QBuffer>
#include <QFile>

#include "store/regular_file.h"

namespace store {

namespace {

bool IsUtf8Continuation(char byte) {
  return (byte & 0xC0) == 0x80;
}

}  // namespace

QString DecodeProjectLine(QByteArray bytes) {
  if (bytes.size() > kMaxProjectLineBytes) {
    // Cut at the start of a character, not inside one (a character has at most three
    // continuation bytes).
    qsizetype cut = kMaxProjectLineBytes;
    while (cut > kMaxProjectLineBytes - 3 && IsUtf8Continuation(bytes.at(cut))) --cut;
    bytes.truncate(cut);
  }
  if (bytes.endsWith('\r')) bytes.chop(1);
  return QString::fromUtf8(bytes);
}

std::vector<ProjectLine> ReadProjectLines(QIODevice& device) {
  std::vector<ProjectLine> lines;
  qint64 consumed = 0;
  while (consumed < kMaxProjectBytes && !device.atEnd()) {
    // One byte more than a line may hold, so that the cut still drops a final CR correctly.
    QByteArray bytes = device.readLine(kMaxProjectLineBytes + 2);
    if (bytes.isEmpty()) break;
    consumed += bytes.size();
    bool ended = bytes.endsWith('\n');
    if (ended) bytes.chop(1);
    // Skip the rest of an overlong line.
    while (!ended && consumed < kMaxProjectBytes && !device.atEnd()) {
      const QByteArray rest = device.readLine(64 * 1024);
      if (rest.isEmpty()) break;
      consumed += rest.size();
      ended = rest.endsWith('\n');
    }
    if (std::optional<ProjectLine> line = ClassifyProjectLine(DecodeProjectLine(bytes))) {
      lines.push_back(std::move(*line));
    }
  }
  return lines;
}

std::optional<std::vector<ProjectLine>> ReadProjectLines(const QString& path) {
  QFile file;
  if (!OpenRegularFileForReading(file, path)) return std::nullopt;
  return ReadProjectLines(file);
}

ProjectSnapshot LoadProjectText(const QByteArray& text, ProjectSnapshot job) {
  QBuffer buffer;
  buffer.setData(text);
  buffer.open(QIODevice::ReadOnly);
  for (const ProjectLine& line : ReadProjectLines(buffer)) ApplyProjectLine(line, job);
  return job;
}

}  // namespace store
