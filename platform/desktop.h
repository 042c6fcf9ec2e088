// Opening a document or a web address in the user's own program for it (a page in the
// browser), behind one interface so that tests can see the request instead of a browser.
#pragma once

#include <QUrl>

namespace platform {

class Desktop {
 public:
  virtual ~Desktop() = default;

  // Asks the system to open `address`; true when the request was accepted. The program does
  // not report a failure: nothing happens when no program opens the address.
  virtual bool Open(const QUrl& address) = 0;
};

// The desktop the program uses; tests install a recording one.
Desktop& CurrentDesktop();
void SetDesktop(Desktop* desktop);  // nullptr restores the system's

}  // namespace platform
