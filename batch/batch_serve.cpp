#include "batch/batch_serve.h"

#include <signal.h>

#include <QDir>
#include <cstdio>

#include "batch/batch_output.h"
#include "encode/encoder_command_line.h"
#include "publish/get_code.h"
#include "publish/preview_page.h"
#include "publish/preview_server.h"

namespace batch {

int ServeUntilInterrupted(const QString& folder_text) {
  QString folder;
  if (!encode::OutputFolderExists(folder_text, &folder)) {
    PrintMessage("Specified output folder does not exist!");
    return 1;
  }
  folder = QDir(folder.isEmpty() ? QDir::rootPath() : folder).absolutePath();
  // The signals are waited for here, so they are blocked before the server's threads exist
  // (threads inherit the mask), and no thread is ever stopped by them.
  sigset_t interrupts;
  sigemptyset(&interrupts);
  sigaddset(&interrupts, SIGINT);
  sigaddset(&interrupts, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &interrupts, nullptr);

  publish::PreviewServer server;
  const int port = server.Serve(folder);
  if (port == 0) {
    PrintMessage("The preview server could not be started.");
    return 1;
  }
  // The address of the folder's page, which the folder's own address also shows.
  const QString address = publish::PreviewAddress(port, publish::PreviewPageName(folder));
  std::printf("%s\n", address.toUtf8().constData());
  std::fflush(stdout);
  std::fprintf(stderr, "reelwright: serving %s until interrupted (Ctrl+C)\n",
               QDir::toNativeSeparators(folder).toUtf8().constData());
  std::fflush(stderr);
  int received = 0;
  sigwait(&interrupts, &received);
  server.Stop();
  return 0;
}

}  // namespace batch
