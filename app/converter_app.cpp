#include "app/converter_app.h"

#include "app/main_dialog.h"

QString StartupProjectPath(const QString& command_line_tail) {
  QString path = command_line_tail;
  path.replace('"', ' ');
  return path.trimmed();
}

QString StartupProjectPath(const QStringList& arguments) {
  return StartupProjectPath(arguments.mid(1).join(' '));
}

int CConverterApp::InitInstance(const QStringList& arguments) {
  CMainDialog dialog(StartupProjectPath(arguments));
  dialog.DoModal();
  return 0;
}
