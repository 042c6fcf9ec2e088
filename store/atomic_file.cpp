#include "store/atomic_file.h"

#include <QSaveFile>

#include "store/regular_file.h"

namespace store {

bool ReplaceFileContents(const QString& path, const QByteArray& contents) {
  // The new file is renamed over the target a link leads to: a device or FIFO there would be
  // replaced by a plain file.
  if (!MayReplaceFile(path)) return false;
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
