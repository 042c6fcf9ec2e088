// What the batch program tells its user on standard error: every message the window would show,
// one line each, and the progress of an encoding or a conversion, as a bar on a terminal and as
// "NN%" lines otherwise (a log file or a pipe gets one line per new percentage).
#pragma once

#include <QString>

namespace batch {

// "reelwright: " and the text, each line break (CR LF, CR or LF, one or several in a row) turned
// into " — ", so that every message is one line.
QString MessageLine(const QString& text);

// A message for a question the batch answered by itself: the text, then " — " and the answer.
QString AnsweredLine(const QString& text, const QString& answer);

// The progress bar's line on a terminal: "[#####     ]  50%".
QString ProgressBar(int percent);

// Writes the message line to standard error, ending a progress bar first.
void PrintMessage(const QString& text);
void PrintAnswered(const QString& text, const QString& answer);

// Shows `percent` (0..100) unless it is what was shown last.
void PrintProgress(int percent);
// Ends the bar's line on a terminal; the next progress starts afresh.
void EndProgress();

}  // namespace batch
