#include "platform/qt_prompter.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

namespace platform {

namespace {

QtPrompter& QtInstance() {
  static QtPrompter prompter;
  return prompter;
}

Prompter* g_prompter = nullptr;

// A window's title is one line: a line break in a caption (the output folder picker's has
// one) would show as boxes, so each becomes a space.
QString OneLine(QString title) {
  title.replace(QLatin1String("\r\n"), QLatin1String(" "));
  title.replace('\r', ' ');
  title.replace('\n', ' ');
  return title;
}

}  // namespace

Prompter& CurrentPrompter() {
  return g_prompter ? *g_prompter : QtInstance();
}

void SetPrompter(Prompter* prompter) {
  g_prompter = prompter;
}

QString QtFilterString(const QList<FileFilter>& filters) {
  QStringList rows;
  for (const FileFilter& filter : filters) {
    // The name already shows the patterns as the user knows them; Qt reads the patterns from
    // the last parentheses, so give them in its form when the name does not end with them.
    QString patterns = filter.patterns;
    patterns.replace(';', ' ');
    QString name = filter.name;
    if (!name.endsWith('(' + filter.patterns + ')'))
      name += " (" + patterns + ')';
    else
      name = name.left(name.size() - filter.patterns.size() - 2) + '(' + patterns + ')';
    rows << name;
  }
  return rows.join(";;");
}

Answer QtPrompter::ShowMessage(QWidget* owner, const QString& caption, const QString& text,
                               Buttons buttons) {
  if (buttons == Buttons::Ok) {
    QMessageBox box(QMessageBox::NoIcon, OneLine(caption), text, QMessageBox::Ok, owner);
    box.exec();
    return Answer::Ok;
  }
  QMessageBox box(QMessageBox::Question, OneLine(caption), text,
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, owner);
  box.setEscapeButton(QMessageBox::Cancel);
  switch (box.exec()) {
    case QMessageBox::Yes:
      return Answer::Yes;
    case QMessageBox::No:
      return Answer::No;
    default:
      return Answer::Cancel;
  }
}

QString QtPrompter::ChooseOpenFile(QWidget* owner, const QString& title,
                                   const QList<FileFilter>& filters,
                                   const QString& start_folder) {
  QFileDialog dialog(owner, OneLine(title), start_folder, QtFilterString(filters));
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().constFirst();
}

QString QtPrompter::ChooseSaveFile(QWidget* owner, const QString& title,
                                   const QList<FileFilter>& filters, const QString& suggested_path,
                                   const QString& default_suffix) {
  QFileDialog dialog(owner, OneLine(title), suggested_path, QtFilterString(filters));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(default_suffix);
  if (!suggested_path.isEmpty()) dialog.selectFile(suggested_path);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().constFirst();
}

QString QtPrompter::ChooseFolder(QWidget* owner, const QString& title,
                                 const QString& start_folder) {
  // Qt's folder dialog offers a "Create New Folder" button of its own.
  return QFileDialog::getExistingDirectory(owner, OneLine(title), start_folder,
                                           QFileDialog::ShowDirsOnly);
}

}  // namespace platform
