// Writing a project file: one line for every key, "KEY=value", that the loader reads back into
// the same job.
//
// A line belongs to the first key of the table that occurs anywhere in it, so a value holding
// an earlier key (an input path with "TITLE=" in it, an affiliate ID with "PRESET", a redirect
// address with "AUDIOMONO", a URL with any of the keys) would be read as that other key. No
// spelling of such a value can be read back, so such a value is written empty: its line then
// loads as an empty text (an external location keeps its switch and gets an empty URL), rather
// than setting another field or being skipped and leaving whatever the window held before.
// Each line is checked by reading it back, so line order does not matter; the lines follow the
// table. The format also cannot carry: a line feed in a value, a line over
// kMaxProjectLineBytes (both written empty), and blanks around a URL or a preset name (read
// back trimmed). Flags, rows and numbers are always carried.
#pragma once

#include <QString>
#include <vector>

#include "store/project_snapshot.h"

namespace store {

// The file's text, with CR LF line ends. The keys whose value the file cannot carry, and which
// are therefore written empty, are added to `emptied` when given.
QString ProjectFileText(const ProjectSnapshot& job, std::vector<ProjectKey>* emptied = nullptr);

// Replaces the file only once the new one is complete; false when it cannot be written.
bool SaveProjectFile(const QString& path, const QString& text);

}  // namespace store
