// Small file helpers shared by the store tests.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace store_test {

inline void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(path));
  file.write(bytes);
}

inline QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return "<missing>";
  return file.readAll();
}

}  // namespace store_test
