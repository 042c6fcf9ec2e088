// The local web server behind Preview: a page opened from a file address cannot load the web
// runtime that plays the player, so the output folder is served on 127.0.0.1 instead.
// Only the one folder is served, read-only (GET and HEAD), with no listings and no way out of
// it. The server runs on threads of its own; no call waits for a request.
#pragma once

#include <QString>
#include <memory>

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

  // Stops the server and waits for its thread; a later Serve starts a new one.
  void Stop();

  int port() const;
  bool running() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// The content type served for a file name, by its extension.
const char* PreviewContentType(const QString& file_name);

// The file under `root` that a request's (already percent-decoded) path names, or an empty
// text when the path names nothing servable: not a plain file, outside the folder (also
// through a symbolic link), or spelled with "..", ".", "\", empty parts or a NUL.
QString ResolvePreviewPath(const QString& root, const std::string& request_path);

}  // namespace publish
