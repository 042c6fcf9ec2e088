// Radio buttons that make one choice: Tab stops at the chosen one only, and the arrow keys move
// the choice within the group, as in every desktop program.
#pragma once

#include <QList>

class QAbstractButton;

// Keeps the checked button of `choices` (the first when none is) as the group's one Tab stop,
// as the choice changes.
void MakeOneTabStop(const QList<QAbstractButton*>& choices);
