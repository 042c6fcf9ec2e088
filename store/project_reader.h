// Reading a project file: its lines, in file order, with the key each belongs to and its value.
// The loader is forgiving: lines that hold no key are skipped, and only a file that cannot be
// opened is a failure.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

#include "store/project_line.h"
#include "store/project_snapshot.h"

class QIODevice;

namespace store {

// Lines end with a line feed; a carriage return before it is not part of the line, and the
// last line may lack its line end. A line is read whole up to kMaxProjectLineBytes; the rest of
// a longer line is skipped, never read as a line of its own, so the tail of a long value can
// never pass for a key. Project lines are short; the bound only keeps a file of another kind
// from costing memory.
inline constexpr qsizetype kMaxProjectLineBytes = 32 * 1024;
// Reading stops after this many bytes: a huge or binary file neither hangs nor fills memory,
// and what was recognised until then still counts.
inline constexpr qint64 kMaxProjectBytes = 16 * 1024 * 1024;

// One line's bytes (without its line feed) as the loader sees them: cut to
// kMaxProjectLineBytes, without a carriage return at the end, decoded from UTF-8.
QString DecodeProjectLine(QByteArray bytes);

std::vector<ProjectLine> ReadProjectLines(QIODevice& device);
// Nothing when the file cannot be opened.
std::optional<std::vector<ProjectLine>> ReadProjectLines(const QString& path);

// The job that a project file's text loads into over `job`, the fields the file does not hold
// staying as they were: opening a project on plain values. The window opens a project through
// the same lines and the same ApplyProjectLine, and shows each field as it is set.
ProjectSnapshot LoadProjectText(const QByteArray& text, ProjectSnapshot job);

}  // namespace store
