// A Prompter for tests: answers from a script and records every prompt it was shown, with its
// caption and buttons, so that tests compare the exact texts.
#pragma once

#include <QStringList>
#include <deque>
#include <vector>

#include "platform/prompter.h"

namespace platform {

struct RecordedPrompt {
  enum class Kind { Message, Question, OpenFile, SaveFile, Folder };
  Kind kind = Kind::Message;
  QString caption;      // as the caller passed it: the box's caption or the picker's title
  QString text;         // the message; empty for pickers
  QStringList buttons;  // the buttons the caller asked for: "OK", or "Yes", "No", "Cancel"
  QList<FileFilter> filters;
  QString suggested_path;  // a save dialog's suggestion, or where another picker opens
  QWidget* owner = nullptr;  // the window the prompt was modal to
};

class ScriptedPrompter : public Prompter {
 public:
  // Installs itself as the current prompter for its lifetime.
  ScriptedPrompter();
  ~ScriptedPrompter() override;

  // Answers to questions and paths for pickers, used in order; a question with no answer left
  // is cancelled, a picker gets "". An OK box takes no answer.
  void QueueAnswer(Answer answer) { answers_.push_back(answer); }
  void QueuePath(const QString& path) { paths_.push_back(path); }

  const std::vector<RecordedPrompt>& prompts() const { return prompts_; }
  // The texts of every message box and question shown, in order.
  QStringList messages() const;
  void Clear() { prompts_.clear(); }

  Answer ShowMessage(QWidget* owner, const QString& caption, const QString& text,
                     Buttons buttons) override;
  QString ChooseOpenFile(QWidget* owner, const QString& title,
                         const QList<FileFilter>& filters, const QString& start_folder) override;
  QString ChooseSaveFile(QWidget* owner, const QString& title, const QList<FileFilter>& filters,
                         const QString& suggested_path, const QString& default_suffix) override;
  QString ChooseFolder(QWidget* owner, const QString& title,
                       const QString& start_folder) override;

 private:
  QString NextPath();

  std::deque<Answer> answers_;
  std::deque<QString> paths_;
  std::vector<RecordedPrompt> prompts_;
};

}  // namespace platform
