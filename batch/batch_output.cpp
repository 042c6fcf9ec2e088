#include "batch/batch_output.h"

#include <unistd.h>

#include <QRegularExpression>
#include <cstdio>

namespace batch {

namespace {

struct ProgressState {
  int shown = -1;
  bool bar_open = false;  // a bar is on the terminal's current line
};

ProgressState& State() {
  static ProgressState state;
  return state;
}

bool ErrorIsTerminal() {
  static const bool terminal = isatty(STDERR_FILENO) == 1;
  return terminal;
}

void Write(const QString& text) {
  std::fputs(text.toUtf8().constData(), stderr);
  std::fflush(stderr);
}

void CloseBar() {
  if (!State().bar_open) return;
  Write("\n");
  State().bar_open = false;
}

}  // namespace

QString MessageLine(const QString& text) {
  static const QRegularExpression kBreaks("(\\r\\n|\\r|\\n)+");
  return "reelwright: " + QString(text).replace(kBreaks, QStringLiteral(" \u2014 "));
}

QString AnsweredLine(const QString& text, const QString& answer) {
  return MessageLine(text + '\n' + answer);
}

QString ProgressBar(int percent) {
  constexpr int kWidth = 40;
  const int filled = percent * kWidth / 100;
  return '[' + QString(filled, '#') + QString(kWidth - filled, ' ') + ']' +
         QString::number(percent).rightJustified(4) + '%';
}

void PrintMessage(const QString& text) {
  CloseBar();
  Write(MessageLine(text) + '\n');
}

void PrintAnswered(const QString& text, const QString& answer) {
  CloseBar();
  Write(AnsweredLine(text, answer) + '\n');
}

void PrintProgress(int percent) {
  percent = qBound(0, percent, 100);
  ProgressState& state = State();
  if (percent == state.shown) return;
  state.shown = percent;
  if (ErrorIsTerminal()) {
    Write('\r' + ProgressBar(percent));
    state.bar_open = true;
  } else {
    Write(QString::number(percent) + "%\n");
  }
}

void EndProgress() {
  CloseBar();
  State().shown = -1;
}

}  // namespace batch
