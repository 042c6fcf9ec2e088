// Starting the companion programs: hidden (no shell, no console window), with an argument list
// and a working folder. The encoder is started and polled while the window keeps running; the
// metadata tool is waited for.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class QProcess;

namespace platform {

// A program started by StartHidden that the window polls.
class RunningProcess {
 public:
  explicit RunningProcess(std::unique_ptr<QProcess> process);
  RunningProcess(const RunningProcess&) = delete;
  RunningProcess& operator=(const RunningProcess&) = delete;
  // A program that is still running is left to run to its end, neither killed nor left
  // behind as a zombie: it is collected when it ends (the event loop must be running then).
  ~RunningProcess();

  // Whether the program has ended; looks without waiting, never blocks.
  bool HasEnded();
  // Whether it has ended by itself with exit code 0 (not crashed, not killed).
  bool EndedWell();
  // Asks the program to end (SIGTERM), and makes it end (SIGKILL) if it has not within
  // `grace_ms`; returns once it has ended.
  void Stop(int grace_ms);
  // The operating system's id of the program.
  qint64 Id() const { return id_; }

 private:
  std::unique_ptr<QProcess> process_;
  qint64 id_ = 0;
};

// Starts `program` with `arguments` in `working_folder`. Its standard input is empty and its
// output is discarded, so a chatty program never stalls on a full pipe. nullptr when it could
// not be started.
std::unique_ptr<RunningProcess> StartHidden(const QString& program, const QStringList& arguments,
                                            const QString& working_folder);

// Starts `program` like StartHidden and waits for it to end, without a time limit. A program
// that cannot be started returns at once, silently.
void RunHiddenAndWait(const QString& program, const QStringList& arguments,
                      const QString& working_folder);

}  // namespace platform
