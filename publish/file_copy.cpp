#include "publish/file_copy.h"

#include <QDir>
#include <QDirIterator>

#include "publish/output_file.h"

namespace publish {

QString FirstLinkedFolder(const QString& source, const OutputFolder& out, const QString& target) {
  const OutputKind top = out.KindOf(target);
  if (top == OutputKind::kLink || top == OutputKind::kBehindLink) return target;
  if (top != OutputKind::kFolder) return {};
  const QDir source_dir(source);
  QDirIterator folders(source, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot,
                       QDirIterator::Subdirectories);
  while (folders.hasNext()) {
    const QString name = target + '/' + source_dir.relativeFilePath(folders.next());
    if (out.KindOf(name) == OutputKind::kLink) return name;
  }
  return {};
}

bool CopyFolderWhereDifferent(const QString& source, OutputFolder& out, const QString& target) {
  const QDir source_dir(source);
  QStringList all;
  QDirIterator files(source, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  while (files.hasNext()) all.append(files.next());
  // In name order, a file comes before its compressed copies ("X" before "X.br"), so a copy is
  // never older than the file it stands for, which a server takes to mean a stale copy.
  all.sort();
  bool all_copied = true;
  for (const QString& from : all) {
    const QString to = target + '/' + source_dir.relativeFilePath(from);
    if (out.HoldsSameBytes(to, from)) continue;
    // Each folder on the way is made (or found) in turn; one that is a link is not entered.
    bool way = true;
    for (qsizetype slash = to.indexOf('/'); way && slash >= 0; slash = to.indexOf('/', slash + 1))
      way = out.MakeFolder(to.left(slash));
    if (!way || !out.CopyFile(from, to)) all_copied = false;
  }
  return all_copied;
}

}  // namespace publish
