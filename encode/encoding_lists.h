// The rows of the five encoding lists of the window, and of its buffer-time list, in order: what
// a row number in a job, a preset or a project file stands for. The encoder takes a row's text,
// the page the buffer time's.
#pragma once

#include <QStringList>

namespace encode {

const QStringList& ResolutionRows();
const QStringList& FrameRateRows();
const QStringList& VideoBitrateRows();
const QStringList& AudioBitrateRows();
const QStringList& SamplingRateRows();
// Seconds of video the player loads before it plays.
const QStringList& BufferSizeRows();

// The row's text; empty for a row outside the list (-1: none chosen).
QString RowText(const QStringList& rows, int row);

}  // namespace encode
