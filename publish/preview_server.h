// The local web server behind Preview: a page opened from a file address cannot load the web
// runtime that plays the player, so the output folder is served on 127.0.0.1 instead.
// It serves the one folder's readable plain files, read-only (GET and HEAD), with no listings,
// no dotfiles and no way out of it, and only to requests named for itself (127.0.0.1 or
// localhost with its port), which keeps pages of other sites out. The server runs on threads
// of its own: one listens, one serves each connection; no call waits for a request.
#pragma once

#include <QString>
#include <memory>

#include "publish/preview_content_type.h"
#include "publish/preview_file.h"

namespace publish {

class PreviewServer {
 public:
  PreviewServer();
  PreviewServer(const PreviewServer&) = delete;
  PreviewServer& operator=(const PreviewServer&) = delete;
  ~PreviewServer();  // stops

  // Serves `folder` from now on: the first call starts the server on a free loopback port,
  // later ones only change the folder. The port, or 0 when the server could not start.
  int Serve(const QString& folder);

  // Stops the server at once: connections end wherever they are, none is waited for long. A
  // later Serve starts a new server.
  void Stop();

  int port() const;
  bool running() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace publish
