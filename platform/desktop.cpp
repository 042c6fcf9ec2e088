#include "platform/desktop.h"

#include <QDesktopServices>

#include "platform/prompter.h"

namespace platform {

namespace {

class SystemDesktop : public Desktop {
 public:
  bool Open(const QUrl& address) override { return QDesktopServices::openUrl(address); }
};

Desktop* g_desktop = nullptr;

}  // namespace

Desktop& CurrentDesktop() {
  static SystemDesktop system;
  return g_desktop ? *g_desktop : system;
}

void SetDesktop(Desktop* desktop) {
  g_desktop = desktop;
}

QString CannotOpenMessage(const QUrl& address) {
  return QStringLiteral(
             "No web browser could be started on this computer to show the page.\n\n"
             "Open this address in your browser:\n") +
         address.toString();
}

bool OpenOrTellWhy(QWidget* owner, const QUrl& address) {
  if (CurrentDesktop().Open(address)) return true;
  ShowProgramMessage(owner, CannotOpenMessage(address));
  return false;
}

}  // namespace platform
