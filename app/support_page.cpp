#include "app/support_page.h"

#include "platform/desktop.h"
#include "platform/program_folder.h"

QUrl SupportPageUrl() {
  return QUrl::fromLocalFile(platform::ProgramFolder() + "/help/index.html");
}

void OpenSupportPage(QWidget* owner, const QString& fragment) {
  QUrl url = SupportPageUrl();
  if (!fragment.isEmpty()) url.setFragment(fragment);
  platform::OpenOrTellWhy(owner, url);
}
