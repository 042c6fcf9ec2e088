#include "ui/accessible_interfaces.h"
#include "ui/control_group.h"
#include "ui/page_tab_button.h"

PageTabAccessible::PageTabAccessible(CPageTabButton* tab)
    : QAccessibleWidget(tab, QAccessible::PageTab) {
  addControllingSignal(QStringLiteral("clicked(bool)"));
}

CPageTabButton* PageTabAccessible::tab() const {
  return static_cast<CPageTabButton*>(widget());
}

QAccessible::Role PageTabAccessible::role() const {
  // Only the tabs in the tab list are tabs; the blank strip beside them is just picture.
  const auto* group = qobject_cast<CControlGroup*>(tab()->parentWidget());
  return group && group->role() == QAccessible::PageTabList ? QAccessible::PageTab
                                                            : QAccessible::Graphic;
}

QAccessible::State PageTabAccessible::state() const {
  QAccessible::State state = QAccessibleWidget::state();
  state.selectable = true;
  state.selected = tab()->shown();
  return state;
}

QStringList PageTabAccessible::actionNames() const {
  return QAccessibleWidget::actionNames() << QAccessibleActionInterface::pressAction();
}

void PageTabAccessible::doAction(const QString& action) {
  if (action == QAccessibleActionInterface::pressAction())
    tab()->click();
  else
    QAccessibleWidget::doAction(action);
}
