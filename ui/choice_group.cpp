#include "ui/choice_group.h"

#include <QAbstractButton>

namespace {

void UpdateTabStops(const QList<QAbstractButton*>& choices) {
  QAbstractButton* stop = choices.value(0);
  for (QAbstractButton* choice : choices)
    if (choice->isChecked()) stop = choice;
  // The others stay reachable by the arrow keys and the mouse.
  for (QAbstractButton* choice : choices)
    choice->setFocusPolicy(choice == stop ? Qt::StrongFocus : Qt::ClickFocus);
}

}  // namespace

void MakeOneTabStop(const QList<QAbstractButton*>& choices) {
  for (QAbstractButton* choice : choices)
    QObject::connect(choice, &QAbstractButton::toggled, choice,
                     [choices] { UpdateTabStops(choices); });
  UpdateTabStops(choices);
}
