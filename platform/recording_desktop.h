// A Desktop for tests: records every address it is asked to open and opens nothing.
#pragma once

#include <QList>

#include "platform/desktop.h"

namespace platform {

class RecordingDesktop : public Desktop {
 public:
  // Installs itself as the current desktop for its lifetime.
  RecordingDesktop() { SetDesktop(this); }
  ~RecordingDesktop() override { SetDesktop(nullptr); }

  bool Open(const QUrl& address) override {
    opened_.append(address);
    return accept_;
  }

  const QList<QUrl>& opened() const { return opened_; }
  // What Open answers; true unless a test plays a system without a browser.
  void SetAccept(bool accept) { accept_ = accept; }

 private:
  QList<QUrl> opened_;
  bool accept_ = true;
};

}  // namespace platform
