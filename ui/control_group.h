// Controls that belong together, held in a transparent widget so the accessibility tree shows
// them as one group with a name: the page tabs as a tab list, a pair of radio buttons as the
// choice they make. Nothing changes on screen; the group shows while any of its members does.
#pragma once

#include <QAccessible>
#include <QList>
#include <QWidget>

class CControlGroup : public QWidget {
  Q_OBJECT

 public:
  CControlGroup(QAccessible::Role role, const QString& name, QWidget* parent);

  QAccessible::Role role() const { return role_; }

  // The widget the members were laid out on, before the group took them in: painting that
  // matches the page behind a member is done in its coordinates.
  static QWidget* LaidOutOn(const QWidget* member);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QAccessible::Role role_;
};

// Moves `members` (siblings) into a new group at the same places on screen and in the tab
// order. Returns the group.
CControlGroup* GroupControls(const QList<QWidget*>& members, QAccessible::Role role,
                             const QString& name);
