// The stand-in program that records its working folder and arguments (record_arguments.cpp),
// and helpers to place it, read what it recorded and wait for a condition with a deadline.
#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QThread>
#include <functional>

namespace test_support {

#ifdef STAND_IN_PROGRAM
// Copies the stand-in to `path` (making its folder), ready to be started.
inline bool PlaceStandIn(const QString& path) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile::remove(path);
  return QFile::copy(STAND_IN_PROGRAM, path);
}
#endif

// What the stand-in recorded in `folder`: its working folder, then its arguments. Empty
// when it has not written its record.
inline QStringList StandInRecord(const QString& folder) {
  QFile record(QDir(folder).filePath("stand_in_record.txt"));
  if (!record.open(QIODevice::ReadOnly)) return {};
  QStringList lines = QString::fromUtf8(record.readAll()).split('\n');
  lines.removeLast();  // the record ends with a line break
  return lines;
}

// Polls `done` (letting queued events run) until it holds or `timeout_ms` has passed.
inline bool WaitUntil(const std::function<bool()>& done, int timeout_ms = 10000) {
  QDeadlineTimer deadline(timeout_ms);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents();
    QThread::msleep(5);
  }
  return true;
}

}  // namespace test_support
