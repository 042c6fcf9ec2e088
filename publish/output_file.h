// The output folder as publishing writes into it: opened once by descriptor, every name
// reached from it without following a link, every file written beside its name and renamed
// over it. A link at a name is replaced, never written through, and a folder on the way that
// is a link is not entered, so nothing written lands outside the folder. What a publish made
// is removed again unless the publish ends well.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace publish {

// What is at a name inside the output folder, the name itself not followed.
enum class OutputKind {
  kNothing,
  kFile,
  kLink,  // dangling or not
  kFolder,
  kOther,       // a FIFO, a device, a socket
  kBehindLink,  // a folder on the way is a link
  kNoWay,       // a folder on the way is missing, is not a folder, or cannot be opened
};

class OutputFolder {
 public:
  // The folder at `path` (a link to a folder is fine: the user chose it), or nothing when it
  // cannot be opened as a folder.
  static std::unique_ptr<OutputFolder> Open(const QString& path);

  OutputFolder(const OutputFolder&) = delete;
  OutputFolder& operator=(const OutputFolder&) = delete;
  // Removes every file and folder this object made, unless Keep() was called.
  ~OutputFolder();

  const QString& path() const { return path_; }

  // `name` is relative, its parts separated by "/"; "", "." and ".." parts never lead anywhere
  // (kNoWay), and neither does an absolute name.
  OutputKind KindOf(const QString& name) const;

  // Puts `bytes` at `name`. A new file gets the usual permissions, a file replaced keeps its own.
  bool WriteFile(const QString& name, const QByteArray& bytes);
  // Puts a copy of the plain file `source` at `name`, with the source's permission bits. A
  // source that already is the file at `name` is left alone and counts as copied.
  bool CopyFile(const QString& source, const QString& name);
  // Whether `name` is a plain file (not a link) holding the same bytes as `source`.
  bool HoldsSameBytes(const QString& name, const QString& source) const;
  // Makes `name` a folder unless it is one already; false when it is anything else.
  bool MakeFolder(const QString& name);
  // Whether `name` is a plain file (not a link), not empty, and modified no earlier than the
  // plain file `source` (a name in the folder too). "No earlier" rather than "later": on a file
  // system that keeps whole seconds, a file made right after its source has the same time.
  bool IsUpToDateWith(const QString& name, const QString& source) const;
  // A file a companion program put at `name` for this publish, where nothing was before: it is
  // removed with the rest unless the publish ends well.
  void Adopt(const QString& name) { made_ << name; }

  // The publish went well: what was made stays.
  void Keep() { made_.clear(); }

 private:
  OutputFolder(const QString& path, int fd) : path_(path), fd_(fd) {}
  // The folder holding the last part of `name`, opened (-1 when there is no way), and that part.
  int OpenParent(const QString& name, QByteArray* leaf, OutputKind* why_not) const;
  // Writes what `fill` writes into a new file beside `name` and renames it over `name`.
  bool Replace(const QString& name, int mode, const std::function<bool(int fd)>& fill);

  QString path_;
  int fd_ = -1;
  QStringList made_;  // in the order made; removed in reverse
};

}  // namespace publish
