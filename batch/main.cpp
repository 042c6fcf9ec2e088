// reelwright-batch: the main job without a window (see batch_options.cpp for the usage).
#include <QApplication>
#include <QFileInfo>
#include <cstdio>

#include "batch/batch_job.h"
#include "batch/batch_options.h"
#include "batch/batch_output.h"
#include "batch/batch_prompter.h"
#include "batch/batch_run.h"
#include "batch/batch_serve.h"
#include "batch/interruption.h"
#include "platform/program_folder.h"
#include "platform/user_files.h"
#include "store/project_writer.h"

extern "C" {
#include <libavutil/log.h>
}

namespace {

constexpr int kFailed = 1;
constexpr int kUsage = 2;

void Print(FILE* stream, const QString& text) {
  std::fputs(text.toUtf8().constData(), stream);
}

int UsageError(const QString& error) {
  Print(stderr, "reelwright-batch: " + error + "\n\n" + batch::UsageText());
  return kUsage;
}

// Saves the job as the window's Save does; false after the window's message.
bool SaveJob(const QString& path, const store::ProjectSnapshot& job) {
  if (store::SaveProjectFile(path, store::ProjectFileText(job))) return true;
  batch::PrintMessage(path + "\n\nCan't save the project file.");
  return false;
}

// Qt's own diagnostics (such as a missing runtime folder for the offscreen platform) are not
// messages for the user: standard error carries only the job's lines. REELWRIGHT_DEBUG shows them.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type == QtFatalMsg || qEnvironmentVariableIsSet("REELWRIGHT_DEBUG"))
    Print(stderr, "reelwright-batch: Qt: " + text + '\n');
}

}  // namespace

int main(int argc, char** argv) {
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  const batch::ParsedOptions parsed = batch::ParseOptions(arguments);
  if (!parsed.options) return UsageError(parsed.error);
  const batch::BatchOptions& options = *parsed.options;
  using Mode = batch::BatchOptions::Mode;
  if (options.mode == Mode::Help) {
    Print(stdout, batch::UsageText());
    return 0;
  }
  if (options.mode == Mode::Version) {
    Print(stdout, QStringLiteral("reelwright-batch %1\n").arg(REELWRIGHT_VERSION));
    return 0;
  }
  if (options.mode == Mode::Serve) return batch::ServeUntilInterrupted(options.serve_folder);

  // The encoding run shows a wait cursor, which needs a GUI application; there is never a
  // window, so no display is needed either.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(QuietQtMessages);
  // Nor are the decoding libraries' remarks on the files the conversion reads.
  if (!qEnvironmentVariableIsSet("REELWRIGHT_DEBUG")) av_log_set_level(AV_LOG_QUIET);
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Reelwright"));
  batch::CatchInterruptions();
  batch::BatchPrompter prompter;
  platform::SetPrompter(&prompter);
  // Several batch runs may share one program folder: each keeps the encoder's progress file in
  // a working folder of its own.
  platform::UseOwnEncoderWorkingFolder();

  const store::StoredSettings stored = batch::ReadStoredSettings();
  store::ProjectSnapshot start = batch::FreshWindowJob(stored);
  // The window chooses the first player found when it starts, before a project is opened.
  std::vector<publish::PlayerSkin> players;
  publish::ScanPlayerSkins(players, platform::ProgramFolder());
  if (!players.empty()) start.which_player = 0;
  std::optional<store::ProjectSnapshot> job;
  if (options.mode == Mode::Project) {
    job = batch::OpenProjectJob(options.project, std::move(start));
    if (!job) {
      batch::PrintMessage(options.project + "\n\nInvalid REEL project file.");
      return kFailed;
    }
  } else {
    // A video that is not there is the job's failure, said as the window says it.
    if (!QFileInfo(options.input).isFile()) {
      batch::PrintMessage(QString("The video %1 cannot be found.").arg(options.input));
      return kFailed;
    }
    QString error;
    job = batch::InputJob(options, std::move(start), stored.presets, players, &error);
    if (!job) return UsageError(error);
  }

  QString page_path, page_folder;
  const bool published = batch::RunBatchJob(*job, stored.publish_mp4, &page_path, &page_folder);
  if (const int signal = batch::Interruption()) {
    batch::PrintMessage(QStringLiteral("interrupted"));
    return 128 + signal;
  }
  const bool saved = !options.save || SaveJob(*options.save, *job);
  if (!published || !saved) return kFailed;
  Print(stdout, page_path + '\n' + page_folder + '\n');
  platform::SetPrompter(nullptr);
  return 0;
}
