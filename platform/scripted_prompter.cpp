#include "platform/scripted_prompter.h"

namespace platform {

ScriptedPrompter::ScriptedPrompter() {
  SetPrompter(this);
}

ScriptedPrompter::~ScriptedPrompter() {
  SetPrompter(nullptr);
}

QStringList ScriptedPrompter::messages() const {
  QStringList texts;
  for (const RecordedPrompt& prompt : prompts_)
    if (prompt.kind == RecordedPrompt::Kind::Message ||
        prompt.kind == RecordedPrompt::Kind::Question)
      texts << prompt.text;
  return texts;
}

Answer ScriptedPrompter::ShowMessage(QWidget* owner, const QString& caption, const QString& text,
                                     Buttons buttons) {
  const bool question = buttons == Buttons::YesNoCancel;
  RecordedPrompt prompt;
  prompt.kind = question ? RecordedPrompt::Kind::Question : RecordedPrompt::Kind::Message;
  prompt.caption = caption;
  prompt.text = text;
  prompt.buttons = question ? QStringList{"Yes", "No", "Cancel"} : QStringList{"OK"};
  prompt.owner = owner;
  prompts_.push_back(prompt);
  if (!question) return Answer::Ok;
  if (answers_.empty()) return Answer::Cancel;
  Answer answer = answers_.front();
  answers_.pop_front();
  return answer;
}

QString ScriptedPrompter::NextPath() {
  if (paths_.empty()) return {};
  QString path = paths_.front();
  paths_.pop_front();
  return path;
}

QString ScriptedPrompter::ChooseOpenFile(QWidget* owner, const QString& title,
                                         const QList<FileFilter>& filters,
                                         const QString& start_folder) {
  prompts_.push_back(
      {RecordedPrompt::Kind::OpenFile, title, {}, {}, filters, start_folder, owner});
  return NextPath();
}

QString ScriptedPrompter::ChooseSaveFile(QWidget* owner, const QString& title,
                                         const QList<FileFilter>& filters,
                                         const QString& suggested_path, const QString&) {
  prompts_.push_back(
      {RecordedPrompt::Kind::SaveFile, title, {}, {}, filters, suggested_path, owner});
  return NextPath();
}

QString ScriptedPrompter::ChooseFolder(QWidget* owner, const QString& title,
                                       const QString& start_folder) {
  prompts_.push_back({RecordedPrompt::Kind::Folder, title, {}, {}, {}, start_folder, owner});
  return NextPath();
}

}  // namespace platform
