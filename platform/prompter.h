// Every message box and file or folder picker the user sees goes through this one interface,
// so that tests can answer them and read back each text, caption and button set.
#pragma once

#include <QList>
#include <QString>

class QWidget;

namespace platform {

// The caption of every message box of the program.
inline const char kMessageCaption[] = "Reelwright";

enum class Answer { Ok, Yes, No, Cancel };

// The buttons of a message box.
enum class Buttons { Ok, YesNoCancel };

// One row of a file dialog's filter list: the name shown and its patterns ("*.mpg;*.mpeg").
struct FileFilter {
  QString name;
  QString patterns;
};

class Prompter {
 public:
  virtual ~Prompter() = default;

  // A message box modal to `owner`, with the caption and buttons the caller gives (the
  // program's own messages use kMessageCaption). The button pressed; Ok for an OK box, and
  // Cancel when a question's box is closed.
  virtual Answer ShowMessage(QWidget* owner, const QString& caption, const QString& text,
                             Buttons buttons) = 0;

  // An open-file dialog for an existing file, opening in `start_folder`; the chosen path, or
  // empty when cancelled.
  virtual QString ChooseOpenFile(QWidget* owner, const QString& title,
                                 const QList<FileFilter>& filters,
                                 const QString& start_folder) = 0;

  // A save-file dialog starting at `suggested_path`; the chosen path, or empty when cancelled.
  // `default_suffix` (without the dot) is added when the typed name has none.
  virtual QString ChooseSaveFile(QWidget* owner, const QString& title,
                                 const QList<FileFilter>& filters, const QString& suggested_path,
                                 const QString& default_suffix) = 0;

  // A folder picker that can also make a new folder, opening in `start_folder`; the chosen
  // folder, or empty when cancelled.
  virtual QString ChooseFolder(QWidget* owner, const QString& title,
                               const QString& start_folder) = 0;
};

// The prompter the program uses; tests install a scripted one.
Prompter& CurrentPrompter();
void SetPrompter(Prompter* prompter);  // nullptr restores the Qt one

// The program's own message box on the current prompter: captioned kMessageCaption, with OK.
inline void ShowProgramMessage(QWidget* owner, const QString& text) {
  CurrentPrompter().ShowMessage(owner, kMessageCaption, text, Buttons::Ok);
}

// The program's own question on the current prompter, with Yes, No and Cancel.
inline Answer AskYesNoCancel(QWidget* owner, const QString& text) {
  return CurrentPrompter().ShowMessage(owner, kMessageCaption, text, Buttons::YesNoCancel);
}

}  // namespace platform
