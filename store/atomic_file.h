// Replacing a file the user cares about without ever leaving half of it behind.
#pragma once

#include <QByteArray>
#include <QString>

namespace store {

// Writes `contents` beside `path` and renames the complete new file over the old one (over the
// target when `path` is a link). False when `path` leads to anything but a regular file (a
// device, a FIFO, a folder), when the folder or the file cannot be written, or any write fails;
// the old file is then left exactly as it was.
bool ReplaceFileContents(const QString& path, const QByteArray& contents);

}  // namespace store
