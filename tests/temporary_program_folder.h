// A program folder of the test's own, so that the settings and affiliate files a window reads
// and writes never touch the build's or another test's.
#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/program_folder.h"

class TemporaryProgramFolder {
 public:
  TemporaryProgramFolder() { platform::OverrideProgramFolder(dir_.path()); }
  ~TemporaryProgramFolder() { platform::OverrideProgramFolder({}); }

  QString path() const { return dir_.path(); }
  QString FilePath(const QString& name) const { return QDir(dir_.path()).filePath(name); }

  void Write(const QString& name, const QByteArray& content) const {
    QFile file(FilePath(name));
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(content);
  }
  QByteArray Read(const QString& name) const {
    QFile file(FilePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  bool Exists(const QString& name) const { return QFile::exists(FilePath(name)); }

 private:
  QTemporaryDir dir_;
};
