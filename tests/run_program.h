// Runs a program to its end, for tests that drive the companions and the media tools (ffmpeg,
// ffprobe, flvmeta) as a user's shell would.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace test_support {

struct ProgramRun {
  bool finished = false;  // ended by itself within the time limit
  int exit_code = -1;     // -1 when it did not finish or crashed
  QString out;
  QString err;
};

inline ProgramRun RunProgram(const QString& program, const QStringList& arguments,
                             int timeout_ms = 60000) {
  QProcess process;
  process.start(program, arguments);
  ProgramRun run;
  if (!process.waitForFinished(timeout_ms)) {
    process.kill();
    process.waitForFinished();
    run.err = program + " did not finish";
    return run;
  }
  run.finished = true;
  run.exit_code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  run.out = QString::fromUtf8(process.readAllStandardOutput());
  run.err = QString::fromUtf8(process.readAllStandardError());
  return run;
}

}  // namespace test_support
