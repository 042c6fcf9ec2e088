#include "batch/interruption.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QSocketNotifier>

namespace batch {

namespace {

volatile sig_atomic_t g_signal = 0;
int g_wake[2] = {-1, -1};

// Only what is safe in a signal handler: a note and a byte into the pipe the loop watches.
void OnSignal(int number) {
  if (g_signal == 0) g_signal = number;
  const int saved = errno;
  [[maybe_unused]] const ssize_t written = write(g_wake[1], "!", 1);
  errno = saved;
}

}  // namespace

void CatchInterruptions() {
  if (g_wake[0] >= 0 || pipe2(g_wake, O_CLOEXEC | O_NONBLOCK) != 0) return;
  // The loop wakes for the byte; reading it keeps the pipe from filling.
  auto* notifier = new QSocketNotifier(g_wake[0], QSocketNotifier::Read);
  QObject::connect(notifier, &QSocketNotifier::activated, [] {
    char bytes[16];
    while (read(g_wake[0], bytes, sizeof bytes) > 0) {
    }
  });
  struct sigaction action = {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int number : {SIGINT, SIGHUP, SIGTERM}) sigaction(number, &action, nullptr);
}

int Interruption() {
  return g_signal;
}

}  // namespace batch
