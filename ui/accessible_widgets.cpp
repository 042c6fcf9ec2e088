#include "ui/accessible_widgets.h"

#include <QComboBox>

#include "ui/accessible_interfaces.h"
#include "ui/control_group.h"
#include "ui/page_tab_button.h"
#include "ui/text_field.h"

namespace {

QAccessibleInterface* MakeAccessible(const QString& class_name, QObject* object) {
  if (class_name == QLatin1String("CTextField"))
    return new TextFieldAccessible(static_cast<CTextField*>(object));
  if (class_name == QLatin1String("CPageTabButton"))
    return new PageTabAccessible(static_cast<CPageTabButton*>(object));
  if (class_name == QLatin1String("CControlGroup")) {
    auto* group = static_cast<CControlGroup*>(object);
    return new QAccessibleWidget(group, group->role());
  }
  // A list one can type in keeps Qt's account: its field says the value.
  if (class_name == QLatin1String("QComboBox") && !static_cast<QComboBox*>(object)->isEditable())
    return new ChoiceListAccessible(static_cast<QComboBox*>(object));
  return nullptr;
}

}  // namespace

void InstallAccessibleWidgets() {
  static const bool installed = [] {
    QAccessible::installFactory(MakeAccessible);
    return true;
  }();
  (void)installed;
}
