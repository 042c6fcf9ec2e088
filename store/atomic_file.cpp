#include "store/atomic_file.h"

#include <QSaveFile>

namespace store {

bool ReplaceFileContents(const QString& path, const QByteArray& contents) {
  QSaveFile file(path);
  // No direct-write fallback: a folder we cannot create the new file in fails instead of the
  // old file being cut and rewritten in place.
  file.setDirectWriteFallback(false);
  if (!file.open(QIODevice::WriteOnly)) return false;
  // commit() flushes the last buffered bytes but does not look at whether that flush failed
  // (a full disk, a file size limit): flush here and check, or a cut file would replace the old.
  if (file.write(contents) != contents.size() || !file.flush() ||
      file.error() != QFileDevice::NoError) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

}  // namespace store
