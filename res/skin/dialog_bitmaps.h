// The dialogs' backgrounds and the progress bar's frame and fill.
#pragma once

#include <QImage>
#include <QString>

namespace skin {

// A navy header with the reel mark and `title`, over a light body; the dialog's controls go
// below the header (kDialogHeaderHeight).
constexpr int kDialogHeaderHeight = 48;
QImage DrawDialogBackground(QSize size, const QString& title);

// 266 by 25: the trough that the fill is copied into at (4, 3).
QImage DrawProgressFrame();
// 259 by 19: brightening toward its right end, the bar's leading edge.
QImage DrawProgressFill();

}  // namespace skin
