#include "platform/process_runner.h"

#include <QProcess>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace platform {

namespace {

// A hidden start: no shell, no console window, nothing read from or written to its pipes.
std::unique_ptr<QProcess> StartProcess(const QString& program, const QStringList& arguments,
                                       const QString& working_folder) {
  auto process = std::make_unique<QProcess>();
  process->setWorkingDirectory(working_folder);
  process->setStandardInputFile(QProcess::nullDevice());
  process->setStandardOutputFile(QProcess::nullDevice());
  process->setStandardErrorFile(QProcess::nullDevice());
#ifdef Q_OS_WIN
  process->setCreateProcessArgumentsModifier(
      [](QProcess::CreateProcessArguments* args) { args->flags |= CREATE_NO_WINDOW; });
#endif
  process->start(program, arguments);
  if (!process->waitForStarted(-1)) return nullptr;
  return process;
}

}  // namespace

RunningProcess::RunningProcess(std::unique_ptr<QProcess> process)
    : process_(std::move(process)), id_(process_->processId()) {}

RunningProcess::~RunningProcess() {
  if (process_->state() == QProcess::NotRunning) return;
  // Deleting a running QProcess kills it. Let it finish instead; QProcess collects the exit
  // status when it sees the end, and then goes away by itself.
  QProcess* abandoned = process_.release();
  QObject::connect(abandoned, &QProcess::finished, abandoned, &QObject::deleteLater);
}

bool RunningProcess::HasEnded() {
  if (process_->state() == QProcess::NotRunning) return true;
  // A zero wait looks at the end notification without blocking.
  return process_->waitForFinished(0);
}

void RunningProcess::Stop(int grace_ms) {
  if (HasEnded()) return;
  process_->terminate();
  if (process_->waitForFinished(grace_ms)) return;
  process_->kill();
  process_->waitForFinished(-1);
}

bool RunningProcess::EndedWell() {
  return HasEnded() && process_->exitStatus() == QProcess::NormalExit && process_->exitCode() == 0;
}

std::unique_ptr<RunningProcess> StartHidden(const QString& program, const QStringList& arguments,
                                            const QString& working_folder) {
  std::unique_ptr<QProcess> process = StartProcess(program, arguments, working_folder);
  if (!process) return nullptr;
  return std::make_unique<RunningProcess>(std::move(process));
}

void RunHiddenAndWait(const QString& program, const QStringList& arguments,
                      const QString& working_folder) {
  std::unique_ptr<QProcess> process = StartProcess(program, arguments, working_folder);
  if (process) process->waitForFinished(-1);
}

}  // namespace platform
