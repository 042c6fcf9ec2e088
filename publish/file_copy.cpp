#include "publish/file_copy.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace publish {

namespace {

constexpr qint64 kChunk = qint64(1) << 20;

}  // namespace

bool CopyFileReplacing(const QString& source, const QString& target) {
  const QFileInfo source_info(source);
  if (!source_info.isFile()) return false;
  const QFileInfo target_info(target);
  // Copying a file onto itself must not truncate it first.
  if (target_info.exists() && source_info.canonicalFilePath() == target_info.canonicalFilePath())
    return true;

  QFile in(source);
  if (!in.open(QIODevice::ReadOnly)) return false;
  QSaveFile out(target);
  out.setDirectWriteFallback(false);  // never cut the old file to write it in place
  if (!out.open(QIODevice::WriteOnly)) return false;
  while (!in.atEnd()) {
    const QByteArray chunk = in.read(kChunk);
    if (in.error() != QFileDevice::NoError || out.write(chunk) != chunk.size()) {
      out.cancelWriting();
      return false;
    }
  }
  // commit() does not check its own last flush: a full disk would let a cut copy through.
  if (!out.flush() || out.error() != QFileDevice::NoError) {
    out.cancelWriting();
    return false;
  }
  return out.commit();
}

bool SameFileContents(const QString& a, const QString& b) {
  const QFileInfo a_info(a), b_info(b);
  if (!a_info.isFile() || !b_info.isFile() || a_info.size() != b_info.size()) return false;
  QFile a_file(a), b_file(b);
  if (!a_file.open(QIODevice::ReadOnly) || !b_file.open(QIODevice::ReadOnly)) return false;
  while (!a_file.atEnd()) {
    const QByteArray a_chunk = a_file.read(kChunk);
    if (a_chunk != b_file.read(kChunk) || a_file.error() != QFileDevice::NoError) return false;
  }
  return b_file.atEnd();
}

bool CopyFolderWhereDifferent(const QString& source, const QString& target) {
  const QDir source_dir(source);
  bool all_copied = true;
  QDirIterator files(source, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  while (files.hasNext()) {
    const QString from = files.next();
    const QString to = QDir(target).filePath(source_dir.relativeFilePath(from));
    if (SameFileContents(from, to)) continue;
    if (!QDir().mkpath(QFileInfo(to).path()) || !CopyFileReplacing(from, to)) all_copied = false;
  }
  return all_copied;
}

}  // namespace publish
