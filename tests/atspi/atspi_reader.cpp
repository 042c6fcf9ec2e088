#include "atspi_reader.h"

#include <QtTest/qtestspontaneevent.h>

#include <QAccessible>
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QKeyEvent>
#include <QTest>
#include <QWidget>

namespace {

// A reference to an accessible object: the owner's bus name and the object's path.
struct Ref {
  QString service;
  QDBusObjectPath path;
};

// One relation: its type and the objects it points to.
struct Relation {
  uint type = 0;
  QList<Ref> targets;
};

}  // namespace

Q_DECLARE_METATYPE(Ref)
Q_DECLARE_METATYPE(Relation)

namespace {

QDBusArgument& operator<<(QDBusArgument& out, const Ref& ref) {
  out.beginStructure();
  out << ref.service << ref.path;
  out.endStructure();
  return out;
}
const QDBusArgument& operator>>(const QDBusArgument& in, Ref& ref) {
  in.beginStructure();
  in >> ref.service >> ref.path;
  in.endStructure();
  return in;
}
QDBusArgument& operator<<(QDBusArgument& out, const Relation& relation) {
  out.beginStructure();
  out << relation.type << relation.targets;
  out.endStructure();
  return out;
}
const QDBusArgument& operator>>(const QDBusArgument& in, Relation& relation) {
  in.beginStructure();
  in >> relation.type >> relation.targets;
  in.endStructure();
  return in;
}

constexpr const char* kAccessible = "org.a11y.atspi.Accessible";
constexpr const char* kText = "org.a11y.atspi.Text";
constexpr const char* kValue = "org.a11y.atspi.Value";
constexpr const char* kRegistry = "org.a11y.atspi.Registry";
constexpr const char* kRegistryRoot = "/org/a11y/atspi/accessible/root";
constexpr int kCallTimeoutMs = 5000;
constexpr int kWaitTimeoutMs = 5000;

// AT-SPI's state types, by bit number in the two-word set GetState returns, and its relation
// types, by number.
// clang-format off
const QStringList kStateNames = {
    "invalid", "active", "armed", "busy", "checked", "collapsed", "defunct", "editable",
    "enabled", "expandable", "expanded", "focusable", "focused", "has-tooltip", "horizontal",
    "iconified", "modal", "multi-line", "multiselectable", "opaque", "pressed", "resizable",
    "selectable", "selected", "sensitive", "showing", "single-line", "stale", "transient",
    "vertical", "visible", "manages-descendants", "indeterminate", "required", "truncated",
    "animated", "invalid-entry", "supports-autocompletion", "selectable-text", "is-default",
    "visited", "checkable", "has-popup", "read-only"};
const QStringList kRelationNames = {
    "null", "label-for", "labelled-by", "controller-for", "controlled-by", "member-of",
    "tooltip-for", "node-child-of", "node-parent-of", "extended", "flows-to", "flows-from",
    "subwindow-of", "embeds", "embedded-by", "popup-for", "parent-window-of", "description-for",
    "described-by", "details", "details-for", "error-message", "error-for"};
// clang-format on

QStringList StateNames(const QList<uint>& words) {
  QStringList names;
  for (int bit = 0; bit < kStateNames.size(); ++bit) {
    const int word = bit / 32;
    if (word < words.size() && (words[word] >> (bit % 32)) & 1u) names << kStateNames[bit];
  }
  return names;
}

QDBusMessage MethodCall(const QString& service, const QString& path, const QString& interface,
                        const QString& method, const QVariantList& args = {}) {
  QDBusMessage call = QDBusMessage::createMethodCall(service, path, interface, method);
  call.setArguments(args);
  return call;
}

template <typename T>
T FirstArgument(const QDBusMessage& reply) {
  if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return T();
  return qdbus_cast<T>(reply.arguments().first());
}

// "StateChanged" -> "state-changed", as screen readers spell event names.
QString Dashed(const QString& member) {
  QString dashed;
  for (const QChar c : member) {
    if (c.isUpper() && !dashed.isEmpty()) dashed += '-';
    dashed += c.toLower();
  }
  return dashed;
}

QString EventType(const QString& interface, const QString& member, const QString& detail) {
  if (interface == "org.a11y.atspi.Event.Focus") return "focus:";
  const QString kind = interface.section('.', -1).toLower();  // "object", "window"
  QString type = kind + ':' + Dashed(member);
  if (!detail.isEmpty()) type += ':' + detail;
  return type;
}

// The event's value as a test can compare it: plain values as they are, a reference to an
// object as its path.
QVariant PlainData(const QVariant& any_data) {
  const QVariant inner = any_data.metaType() == QMetaType::fromType<QDBusVariant>()
                             ? any_data.value<QDBusVariant>().variant()
                             : any_data;
  if (inner.metaType() == QMetaType::fromType<QDBusArgument>()) {
    const auto argument = inner.value<QDBusArgument>();
    if (argument.currentSignature() == "(so)") return qdbus_cast<Ref>(argument).path.path();
    return {};
  }
  return inner;
}

// Counts the key presses that reach it.
class KeyCounter : public QWidget {
 public:
  int arrived = 0;

 protected:
  bool event(QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return QWidget::event(event);
    ++arrived;
    return true;
  }
};

}  // namespace

namespace atspi {

void PrintTo(const Node& node, std::ostream* out) {
  QStringList relations;
  for (const auto& [type, target] : node.relations) relations << type + " '" + target + "'";
  QString line = node.role + " '" + node.name + "' [" + node.states.join(' ') + "]";
  if (!node.description.isEmpty()) line += " description '" + node.description + "'";
  if (node.text) line += " text '" + *node.text + "'";
  if (node.value) line += " value " + QString::number(*node.value);
  if (!relations.isEmpty()) line += " " + relations.join(", ");
  *out << line.toStdString();
}

Reader::Reader() = default;
Reader::~Reader() = default;

bool Reader::Connect(QString* why) {
  qDBusRegisterMetaType<Ref>();
  qDBusRegisterMetaType<QList<Ref>>();
  qDBusRegisterMetaType<Relation>();
  qDBusRegisterMetaType<QList<Relation>>();

  // The accessibility bus is a bus of its own; the session bus says where it is.
  const QDBusMessage address = QDBusConnection::sessionBus().call(
      QDBusMessage::createMethodCall("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress"),
      QDBus::BlockWithGui, kCallTimeoutMs);
  if (address.type() != QDBusMessage::ReplyMessage) {
    *why = "no accessibility bus on the session bus (" + address.errorMessage() +
           "); tests/atspi/run_with_atspi gives the tests one";
    return false;
  }
  // Its own connection name: Qt's bridge has a connection to the same bus in this process.
  bus_ = QDBusConnection::connectToBus(FirstArgument<QString>(address), "reelwright-atspi-reader");
  if (!bus_.isConnected()) {
    *why = "cannot connect to the accessibility bus: " + bus_.lastError().message();
    return false;
  }
  return FindApplication(why);
}

// The registry lists every application on the bus; ours is the one whose connection belongs to
// this process.
bool Reader::FindApplication(QString* why) {
  const qint64 pid = QCoreApplication::applicationPid();
  const bool found = QTest::qWaitFor(
      [&] {
        const auto apps = FirstArgument<QList<Ref>>(
            bus_.call(MethodCall(kRegistry, kRegistryRoot, kAccessible, "GetChildren"),
                      QDBus::BlockWithGui, kCallTimeoutMs));
        for (const Ref& app : apps) {
          const QDBusMessage owner = bus_.call(
              MethodCall("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                         "GetConnectionUnixProcessID", {app.service}),
              QDBus::BlockWithGui, kCallTimeoutMs);
          if (FirstArgument<uint>(owner) == pid) {
            app_service_ = app.service;
            app_path_ = app.path.path();
            return true;
          }
        }
        return false;
      },
      kWaitTimeoutMs);
  if (!found) {
    *why = QString(
               "this application did not appear on the accessibility bus within %1 ms "
               "(is QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 set, and the platform xcb?)")
               .arg(kWaitTimeoutMs);
  }
  return found;
}

// Qt's bridge answers on this thread, so a call that blocked it would wait for itself: every call
// runs a local event loop until its reply comes (BlockWithGui), the bridge's answers included.
// (The registry and the bus answer from other processes, but may wait on the bridge in turn.)
QDBusMessage Reader::Call(const QString& path, const char* interface, const char* method,
                          const QVariantList& args) {
  return bus_.call(MethodCall(app_service_, path, interface, method, args), QDBus::BlockWithGui,
                   kCallTimeoutMs);
}

QVariant Reader::Property(const QString& path, const char* interface, const char* name) {
  const QDBusMessage reply =
      Call(path, "org.freedesktop.DBus.Properties", "Get", {QString(interface), QString(name)});
  return FirstArgument<QDBusVariant>(reply).variant();
}

QList<QString> Reader::ChildPaths(const QString& path) {
  QList<QString> paths;
  for (const Ref& child : FirstArgument<QList<Ref>>(Call(path, kAccessible, "GetChildren")))
    paths << child.path.path();
  return paths;
}

Node Reader::Describe(const QString& path) {
  Node node;
  node.path = path;
  node.role = FirstArgument<QString>(Call(path, kAccessible, "GetRoleName"));
  node.name = Property(path, kAccessible, "Name").toString();
  node.description = Property(path, kAccessible, "Description").toString();
  node.states = StateNames(FirstArgument<QList<uint>>(Call(path, kAccessible, "GetState")));
  node.index_in_parent = FirstArgument<int>(Call(path, kAccessible, "GetIndexInParent"));
  node.child_count = Property(path, kAccessible, "ChildCount").toInt();

  const auto interfaces = FirstArgument<QStringList>(Call(path, kAccessible, "GetInterfaces"));
  if (interfaces.contains(kText))
    node.text = FirstArgument<QString>(Call(path, kText, "GetText", {0, -1}));
  if (interfaces.contains(kValue)) node.value = Property(path, kValue, "CurrentValue").toDouble();

  const auto relations = FirstArgument<QList<Relation>>(Call(path, kAccessible, "GetRelationSet"));
  for (const Relation& relation : relations) {
    const QString type = kRelationNames.value(int(relation.type), QString::number(relation.type));
    for (const Ref& target : relation.targets)
      node.relations.append({type, Property(target.path.path(), kAccessible, "Name").toString()});
  }
  return node;
}

std::pair<int, int> Reader::AttributeRun(const Node& node, int offset) {
  const QList<QVariant> reply =
      Call(node.path, kText, "GetAttributeRun", {offset, false}).arguments();
  if (reply.size() < 3) return {-1, -1};
  return {reply[1].toInt(), reply[2].toInt()};
}

Node Reader::Application() {
  return Describe(app_path_);
}

std::optional<Node> Reader::Find(const std::function<bool(const Node&)>& matches) {
  QList<QString> to_visit = {app_path_};
  while (!to_visit.isEmpty()) {
    const Node node = Describe(to_visit.takeFirst());
    if (matches(node)) return node;
    to_visit = ChildPaths(node.path) + to_visit;  // children before the next sibling
  }
  return std::nullopt;
}

QList<Node> Reader::Children(const Node& node) {
  QList<Node> children;
  for (const QString& path : ChildPaths(node.path)) children << Describe(path);
  return children;
}

std::optional<Node> Reader::Parent(const Node& node) {
  const auto parent = qdbus_cast<Ref>(Property(node.path, kAccessible, "Parent"));
  // Above the application is the registry's desktop, which is not this application's.
  if (node.path == app_path_ || parent.service != app_service_) return std::nullopt;
  return Describe(parent.path.path());
}

Node Reader::Refresh(const Node& node) {
  return Describe(node.path);
}

bool Reader::Record() {
  if (recording_) {  // again: start afresh from here
    const bool settled = Settle();
    kept_.clear();
    return settled;
  }
  bus_.connect({}, {}, "org.a11y.atspi.Event.Object", {}, this, SLOT(Receive(QDBusMessage)));
  bus_.connect({}, {}, "org.a11y.atspi.Event.Focus", {}, this, SLOT(Receive(QDBusMessage)));
  bus_.connect({}, {}, "org.a11y.atspi.Event.Window", {}, this, SLOT(Receive(QDBusMessage)));

  // Qt's bridge sends only the kinds of event someone has registered for, and it learns of a new
  // registration later, from the registry's signal. "object:" goes last: once a barrier (an
  // object event) arrives, the bridge has read a list holding every kind.
  for (const char* kind : {"focus:", "window:", "object:"}) {
    bus_.call(MethodCall(kRegistry, "/org/a11y/atspi/registry", kRegistry, "RegisterEvent",
                         {QString(kind)}),
              QDBus::BlockWithGui, kCallTimeoutMs);
  }
  recording_ = true;
  // Barriers sent before the bridge has caught up are never sent at all, so keep sending.
  const bool sending =
      QTest::qWaitFor([&] { return WaitUntilArrived(SendBarrier(), 100); }, kWaitTimeoutMs);
  if (!sending) qWarning("atspi::Reader: Qt's bridge did not start sending events");
  kept_.clear();
  return sending;
}

// Names a new widget that is never shown; the bridge sends the name change like any other
// event, after those the test's actions caused. Its arrival shows that everything sent before it
// has arrived too: the bus keeps one sender's messages in order. Each barrier is a widget of its
// own because the event tells only its source, not the new name.
int Reader::SendBarrier() {
  auto& barrier = barriers_.emplace_back(std::make_unique<QWidget>());
  const QAccessible::Id id =
      QAccessible::uniqueId(QAccessible::queryAccessibleInterface(barrier.get()));
  barrier_paths_.insert("/org/a11y/atspi/accessible/" + QString::number(id), ++barriers_sent_);
  barrier->setAccessibleName("barrier");
  return barriers_sent_;
}

bool Reader::WaitUntilArrived(int barrier, int timeout_ms) {
  return QTest::qWaitFor([&] { return barriers_arrived_ >= barrier; }, timeout_ms);
}

void Reader::Receive(const QDBusMessage& signal) {
  if (!recording_ || signal.service() != app_service_) return;
  const QVariantList args = signal.arguments();
  Event event;
  event.type = EventType(signal.interface(), signal.member(), args.value(0).toString());
  event.detail1 = args.value(1).toInt();
  event.data = PlainData(args.value(3));
  event.source.path = signal.path();
  if (const int barrier = barrier_paths_.value(event.source.path)) {
    barriers_arrived_ = std::max(barriers_arrived_, barrier);
    return;
  }
  kept_ << event;
}

// A key press marked as coming from the window system, as QTest marks its own, passes the
// bridge's key filter like theirs; the bridge hands keys back in the order it took them.
bool Reader::WaitUntilKeysDelivered() {
  if (!key_barrier_) key_barrier_ = std::make_unique<KeyCounter>();
  auto* counter = static_cast<KeyCounter*>(key_barrier_.get());
  QKeyEvent press(QEvent::KeyPress, Qt::Key_F35, Qt::NoModifier);
  QSpontaneKeyEvent::setSpontaneous(&press);
  QCoreApplication::instance()->notify(counter, &press);  // sendEvent() would unmark it
  const int sent = ++keys_sent_;
  if (QTest::qWaitFor([&] { return counter->arrived >= sent; }, kWaitTimeoutMs)) return true;
  qWarning("atspi::Reader: key presses did not reach the window within %d ms", kWaitTimeoutMs);
  return false;
}

bool Reader::Settle() {
  if (!WaitUntilKeysDelivered()) return false;
  if (WaitUntilArrived(SendBarrier(), kWaitTimeoutMs)) return true;
  qWarning("atspi::Reader: the events sent so far did not arrive within %d ms", kWaitTimeoutMs);
  return false;
}

QList<Event> Reader::Events(int settle_ms) {
  QTest::qWait(settle_ms);
  (void)Settle();  // what did not arrive is missing from the list, which the test will notice
  QList<Event> events = std::exchange(kept_, {});
  // One reading per object: a focus change sends several events from the same source.
  QHash<QString, Node> sources;
  for (Event& event : events) {
    const QString path = event.source.path;
    if (!sources.contains(path)) sources.insert(path, Describe(path));
    event.source = sources.value(path);
  }
  return events;
}

std::optional<Event> Reader::WaitFor(const std::function<bool(const Event&)>& matches,
                                     int timeout_ms) {
  std::optional<Event> found;
  qsizetype checked = 0;  // each event is read and matched once, as it arrives
  (void)QTest::qWaitFor(
      [&] {
        for (; checked < kept_.size(); ++checked) {
          Event event = kept_[checked];
          event.source = Describe(event.source.path);
          if (matches(event)) {
            found = event;
            return true;
          }
        }
        return false;
      },
      timeout_ms);
  return found;
}

}  // namespace atspi
