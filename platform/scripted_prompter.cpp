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

void ScriptedPrompter::ShowMessage(QWidget*, const QString& text) {
  prompts_.push_back({RecordedPrompt::Kind::Message, kMessageCaption, text, {"OK"}, {}, {}});
}

Answer ScriptedPrompter::AskYesNoCancel(QWidget*, const QString& text) {
  prompts_.push_back(
      {RecordedPrompt::Kind::Question, kMessageCaption, text, {"Yes", "No", "Cancel"}, {}, {}});
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

QString ScriptedPrompter::ChooseOpenFile(QWidget*, const QString& title,
                                         const QList<FileFilter>& filters) {
  prompts_.push_back({RecordedPrompt::Kind::OpenFile, title, {}, {}, filters, {}});
  return NextPath();
}

QString ScriptedPrompter::ChooseSaveFile(QWidget*, const QString& title,
                                         const QList<FileFilter>& filters,
                                         const QString& suggested_path, const QString&) {
  prompts_.push_back({RecordedPrompt::Kind::SaveFile, title, {}, {}, filters, suggested_path});
  return NextPath();
}

QString ScriptedPrompter::ChooseFolder(QWidget*, const QString& title) {
  prompts_.push_back({RecordedPrompt::Kind::Folder, title, {}, {}, {}, {}});
  return NextPath();
}

}  // namespace platform
