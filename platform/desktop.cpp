#include "platform/desktop.h"

#include <QDesktopServices>

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

}  // namespace platform
