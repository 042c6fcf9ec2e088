// Replacing a file the user cares about without ever leaving half of it behind.
#pragma once

#include <QByteArray>
#include <QString>

namespace store {

// Writes `contents` beside `path` and renames the complete new file over the old one. False
// when the folder or the file cannot be written, or any write fails; the old file is then left
// exactly as it was.
bool ReplaceFileContents(const QString& path, const QByteArray& contents);

}  // namespace store
