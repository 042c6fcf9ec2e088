// The Prompter of the running program: Qt's message boxes and file dialogs.
#pragma once

#include "platform/prompter.h"

namespace platform {

class QtPrompter : public Prompter {
 public:
  Answer ShowMessage(QWidget* owner, const QString& caption, const QString& text,
                     Buttons buttons) override;
  QString ChooseOpenFile(QWidget* owner, const QString& title,
                         const QList<FileFilter>& filters, const QString& start_folder) override;
  QString ChooseSaveFile(QWidget* owner, const QString& title, const QList<FileFilter>& filters,
                         const QString& suggested_path, const QString& default_suffix) override;
  QString ChooseFolder(QWidget* owner, const QString& title,
                       const QString& start_folder) override;
};

// "Name (*.a *.b);;Other (*.c)" as QFileDialog takes it, from filter rows with ";" patterns.
QString QtFilterString(const QList<FileFilter>& filters);

}  // namespace platform
