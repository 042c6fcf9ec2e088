#include <QComboBox>

#include "ui/accessible_interfaces.h"

ChoiceListAccessible::ChoiceListAccessible(QComboBox* list)
    : QAccessibleWidget(list, QAccessible::ComboBox) {
  // The name holds the value, so it changes with it; the value change that Qt sends next is
  // what a screen reader speaks, and it reads the name then.
  QObject::connect(list, &QComboBox::currentIndexChanged, list, [list] {
    QAccessibleEvent renamed(list, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&renamed);
  });
}

QComboBox* ChoiceListAccessible::list() const {
  return static_cast<QComboBox*>(widget());
}

void* ChoiceListAccessible::interface_cast(QAccessible::InterfaceType type) {
  if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
  return QAccessibleWidget::interface_cast(type);
}

QString ChoiceListAccessible::text(QAccessible::Text kind) const {
  if (kind == QAccessible::Value) return list()->currentText();
  if (kind != QAccessible::Name) return QAccessibleWidget::text(kind);
  // Orca 43 finds no value in a Qt 6.4 list (Qt offers neither a selected row nor a text),
  // and where a label names a list it says the label alone: the value goes in the name.
  const QString label = QAccessibleWidget::text(QAccessible::Name);
  const QString value = list()->currentText();
  if (label.isEmpty() || value.isEmpty()) return label + value;
  return label + QStringLiteral(", ") + value;
}

QList<std::pair<QAccessibleInterface*, QAccessible::Relation>> ChoiceListAccessible::relations(
    QAccessible::Relation match) const {
  // The label is in the name already; as a relation too, a screen reader would say it instead
  // of the name, value and all.
  auto all = QAccessibleWidget::relations(match);
  all.removeIf([](const auto& relation) { return relation.second & QAccessible::Label; });
  return all;
}

QStringList ChoiceListAccessible::actionNames() const {
  return QAccessibleWidget::actionNames() << QAccessibleActionInterface::showMenuAction();
}

void ChoiceListAccessible::doAction(const QString& action) {
  if (action == QAccessibleActionInterface::showMenuAction())
    list()->showPopup();
  else
    QAccessibleWidget::doAction(action);
}

QVariant ChoiceListAccessible::currentValue() const {
  return list()->currentIndex();
}

void ChoiceListAccessible::setCurrentValue(const QVariant& value) {
  const int row = value.toInt();
  if (row < 0 || row >= list()->count() || row == list()->currentIndex()) return;
  // As a pick from the drop-down: the window acts on `activated`.
  list()->setCurrentIndex(row);
  emit list()->activated(row);
}

QVariant ChoiceListAccessible::maximumValue() const {
  return std::max(0, list()->count() - 1);
}

QVariant ChoiceListAccessible::minimumValue() const {
  return 0;
}

QVariant ChoiceListAccessible::minimumStepSize() const {
  return 1;
}
