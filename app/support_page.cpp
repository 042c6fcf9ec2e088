#include "app/support_page.h"

#include "platform/desktop.h"
#include "platform/program_folder.h"

QUrl SupportPageUrl() {
  return QUrl::fromLocalFile(platform::ProgramFolder() + "/help/index.html");
}

void OpenSupportPage() {
  platform::CurrentDesktop().Open(SupportPageUrl());
}
