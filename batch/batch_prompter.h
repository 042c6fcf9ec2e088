// The Prompter of the batch program: no window, so every message becomes a line on standard
// error (batch_output.h). Questions get the batch's fixed answers, printed with them: a
// Yes/No/Cancel question is answered No (nothing is saved or replaced that was not asked for),
// and a file or folder picker is cancelled (the command line names every file).
#pragma once

#include "platform/prompter.h"

namespace batch {

class BatchPrompter : public platform::Prompter {
 public:
  platform::Answer ShowMessage(QWidget* owner, const QString& caption, const QString& text,
                               platform::Buttons buttons) override;
  QString ChooseOpenFile(QWidget* owner, const QString& title,
                         const QList<platform::FileFilter>& filters,
                         const QString& start_folder) override;
  QString ChooseSaveFile(QWidget* owner, const QString& title,
                         const QList<platform::FileFilter>& filters, const QString& suggested_path,
                         const QString& default_suffix) override;
  QString ChooseFolder(QWidget* owner, const QString& title,
                       const QString& start_folder) override;
};

}  // namespace batch
