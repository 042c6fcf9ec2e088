// The application object: takes the command line as one optional project path and runs the
// main window as a modal dialog; the program ends when the window does.
#pragma once

#include <QStringList>

// The command line after the program name is one path: every double quote becomes a blank and
// the text is trimmed. There are no options.
QString StartupProjectPath(const QString& command_line_tail);

// The same from an argument list as the platform hands it over (program name first): the
// arguments are joined again with blanks, as they stood on the command line.
QString StartupProjectPath(const QStringList& arguments);

class CConverterApp {
 public:
  // Runs the whole program; returns the process's exit code.
  int InitInstance(const QStringList& arguments);
};
