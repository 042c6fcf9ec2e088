#include "batch/batch_prompter.h"

#include "batch/batch_output.h"

namespace batch {

platform::Answer BatchPrompter::ShowMessage(QWidget*, const QString&, const QString& text,
                                            platform::Buttons buttons) {
  if (buttons == platform::Buttons::Ok) {
    PrintMessage(text);
    return platform::Answer::Ok;
  }
  PrintAnswered(text, "No");
  return platform::Answer::No;
}

QString BatchPrompter::ChooseOpenFile(QWidget*, const QString& title,
                                      const QList<platform::FileFilter>&, const QString&) {
  PrintAnswered(title, "Cancel");
  return {};
}

QString BatchPrompter::ChooseSaveFile(QWidget*, const QString& title,
                                      const QList<platform::FileFilter>&, const QString&,
                                      const QString&) {
  PrintAnswered(title, "Cancel");
  return {};
}

QString BatchPrompter::ChooseFolder(QWidget*, const QString& title, const QString&) {
  PrintAnswered(title, "Cancel");
  return {};
}

}  // namespace batch
