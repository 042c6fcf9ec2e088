// Opening a document or a web address in the user's own program for it (a page in the
// browser), behind one interface so that tests can see the request instead of a browser.
#pragma once

#include <QString>
#include <QUrl>

class QWidget;

namespace platform {

class Desktop {
 public:
  virtual ~Desktop() = default;

  // Asks the system to open `address`; true when the request was accepted, false when the
  // machine has no launcher or browser to hand it to.
  virtual bool Open(const QUrl& address) = 0;
};

// What the user is told when `address` could not be opened: that no browser could be started,
// and the address to open by hand.
QString CannotOpenMessage(const QUrl& address);

// Opens `address` through the current desktop; when that fails, shows CannotOpenMessage in a
// message box captioned "Reelwright" over `owner`. True when the address was opened.
bool OpenOrTellWhy(QWidget* owner, const QUrl& address);

// The desktop the program uses; tests install a recording one.
Desktop& CurrentDesktop();
void SetDesktop(Desktop* desktop);  // nullptr restores the system's

}  // namespace platform
