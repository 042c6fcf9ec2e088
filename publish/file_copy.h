// Copies that never leave half a file behind: the copy is written beside its target and
// renamed over it once complete, so a failed copy keeps the old file whole.
#pragma once

#include <QString>

namespace publish {

// Copies `source` over `target`. True when `target` then holds the source's bytes; a source
// that is the target itself is left alone (and counts as copied).
bool CopyFileReplacing(const QString& source, const QString& target);

// Whether two files exist and hold the same bytes.
bool SameFileContents(const QString& a, const QString& b);

// Makes `target` hold every file of `source` (with its subfolders): only files that are
// missing or differ are copied, so a second run over an unchanged folder only reads. Files in
// `target` that `source` lacks stay. False when any copy failed.
bool CopyFolderWhereDifferent(const QString& source, const QString& target);

}  // namespace publish
