// The program reads and replaces only plain files. A name that leads (through links or not) to
// a FIFO, a device, a socket or a folder is neither opened nor written over: opening a FIFO for
// reading waits for a writer that never comes, opening a device may act on it, and renaming a
// new file over a link's target would put a plain file where the device or FIFO was.
#pragma once

#include <QFile>
#include <QString>

namespace store {

// Opens `path` for reading when it is a regular file, after following links. False, with
// `file` left closed, for anything else and for a file that cannot be opened. Never waits: the
// kind is checked before opening, and the open itself does not block should the name have been
// swapped for a FIFO in between.
bool OpenRegularFileForReading(QFile& file, const QString& path);

// Whether a new file may take the place of `path`: nothing is there yet, or a regular file is
// (after following links).
bool MayReplaceFile(const QString& path);

}  // namespace store
