// Reads this process's own accessibility tree and events from the AT-SPI bus, as a screen
// reader would see them: the test binary is the Qt application, and Qt's bridge answers the
// reader's D-Bus calls on this same (GUI) thread.
#pragma once

#include <QDBusConnection>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <utility>
#include <vector>

class QDBusMessage;
class QWidget;

namespace atspi {

// One object of the tree, read at one moment.
struct Node {
  QString path;                     // D-Bus object path: the object's identity
  QString role, name, description;  // role as AT-SPI names it: "text", "combo box", "page tab"...
  QStringList states;               // state names: "focused", "checked", "showing", "editable"...
  int index_in_parent = -1, child_count = 0;
  std::optional<double> value;  // the Value interface's current value, when the object has one
  std::optional<QString> text;  // the Text interface's whole text, when the object has one
  // (relation, target's name), as ("labelled-by", "Input Video")
  QList<std::pair<QString, QString>> relations;

  bool Has(const QString& state) const { return states.contains(state); }
};

// For failure messages: role, name, states, text and relations on one line.
void PrintTo(const Node& node, std::ostream* out);

// One event as a screen reader receives it. `type` is spelled as screen readers subscribe to it:
// "object:state-changed:focused", "focus:", "object:property-change:accessible-name",
// "object:text-caret-moved"...
struct Event {
  QString type;
  int detail1 = 0;  // for a state change: 1 set, 0 cleared
  QVariant data;    // the event's any_data: a plain value as it is, an object as its path
                    // (Qt 6.4 sends the source itself with a name change, not the new name)
  Node source;      // read when Events() returns, not when the event was sent
};

class Reader : public QObject {
  Q_OBJECT

 public:
  Reader();
  ~Reader() override;

  // Finds the accessibility bus and this application on it (it registers shortly after the
  // QApplication starts). False, with the reason, when either cannot be reached.
  bool Connect(QString* why);

  // The application object, the root of everything below.
  Node Application();
  // Depth-first over the application's tree; the first node that matches.
  std::optional<Node> Find(const std::function<bool(const Node&)>& matches);
  QList<Node> Children(const Node& node);
  std::optional<Node> Parent(const Node& node);
  Node Refresh(const Node& node);
  // The run of text around `offset` that shares its attributes, as (start, end): what a screen
  // reader reads as one piece of a field.
  std::pair<int, int> AttributeRun(const Node& node, int offset);

  // Subscribes to every event and, once Qt's bridge sends them, starts keeping them (called
  // again, drops what was kept). False when the bridge never starts sending.
  bool Record();
  // While recording, Qt's bridge offers each key press to screen readers through the registry
  // before the window gets it, so QTest's key clicks take effect only once the event loop runs.
  // Waits until every key sent so far has reached its widget and every event sent so far has
  // arrived here. False when either takes more than five seconds.
  bool Settle();
  // The events since Record() or the last call, in order: lets the event loop run for
  // `settle_ms` (for what the application does later, from its timers), then settles.
  QList<Event> Events(int settle_ms = 300);
  // Waits, up to `timeout_ms`, for a kept event that matches; it stays kept for Events().
  std::optional<Event> WaitFor(const std::function<bool(const Event&)>& matches,
                               int timeout_ms = 3000);

 private slots:
  void Receive(const QDBusMessage& signal);

 private:
  QDBusMessage Call(const QString& path, const char* interface, const char* method,
                    const QVariantList& args = {});
  QVariant Property(const QString& path, const char* interface, const char* name);
  QList<QString> ChildPaths(const QString& path);
  Node Describe(const QString& path);
  bool FindApplication(QString* why);
  int SendBarrier();
  bool WaitUntilArrived(int barrier, int timeout_ms);
  bool WaitUntilKeysDelivered();

  QDBusConnection bus_{QString()};
  QString app_service_;  // this application's unique name on the accessibility bus
  QString app_path_;
  bool recording_ = false;
  QList<Event> kept_;
  // Widgets that are never shown: each one's name change marks a point in the stream of events.
  std::vector<std::unique_ptr<QWidget>> barriers_;
  QHash<QString, int> barrier_paths_;  // path -> barrier's number, counted from 1
  int barriers_sent_ = 0, barriers_arrived_ = 0;
  // A hidden widget that counts the key presses it is sent, the same way as QTest's.
  std::unique_ptr<QWidget> key_barrier_;
  int keys_sent_ = 0;
};

}  // namespace atspi
