#include "ui/control_group.h"

#include <QEvent>

CControlGroup::CControlGroup(QAccessible::Role role, const QString& name, QWidget* parent)
    : QWidget(parent), role_(role) {
  setAccessibleName(name);
}

QWidget* CControlGroup::LaidOutOn(const QWidget* member) {
  QWidget* parent = member->parentWidget();
  while (qobject_cast<CControlGroup*>(parent)) parent = parent->parentWidget();
  return parent;
}

bool CControlGroup::eventFilter(QObject* watched, QEvent* event) {
  // A page shows and hides the members one by one; the group follows, so no empty group is
  // left in the tree of a page that does not show it.
  if (event->type() == QEvent::ShowToParent) {
    setVisible(true);
  } else if (event->type() == QEvent::HideToParent) {
    bool any_shown = false;
    for (QWidget* member : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
      any_shown = any_shown || (member != watched && !member->isHidden());
    setVisible(any_shown);
  }
  return QWidget::eventFilter(watched, event);
}

CControlGroup* GroupControls(const QList<QWidget*>& members, QAccessible::Role role,
                             const QString& name) {
  QWidget* parent = members.front()->parentWidget();
  QRect area;
  for (QWidget* member : members) area |= member->geometry();
  auto* group = new CControlGroup(role, name, parent);
  group->setGeometry(area);
  bool any_shown = false;
  for (QWidget* member : members) {
    const bool shown = !member->isHidden();
    any_shown = any_shown || shown;
    member->setParent(group);
    member->move(member->pos() - area.topLeft());
    member->setVisible(shown);
    member->installEventFilter(group);
  }
  group->setVisible(any_shown);
  // The tab order stays as it was: a widget moved within its window keeps its place in it.
  return group;
}
