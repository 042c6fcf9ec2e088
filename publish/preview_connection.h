// One client's connection to the preview server: it reads requests and answers them with the
// folder's files until the client goes, idles too long or the server stops.
#pragma once

#include <QString>
#include <chrono>
#include <functional>
#include <string>

#include "publish/file_descriptor.h"

namespace publish {

// A request head must have come whole this long after its first byte (or, for the first
// request, after the connection was made); a kept-alive connection may idle this long between
// requests. A client that takes nothing of an answer for kSendStall is dropped: a paused video
// may sit on its connection a while, and asks again with a range when it plays on.
inline constexpr auto kRequestHeadDeadline = std::chrono::seconds(5);
inline constexpr auto kKeepAliveIdle = std::chrono::seconds(5);
inline constexpr auto kSendStall = std::chrono::seconds(30);

struct PreviewConnectionSite {
  int port = 0;                   // the server's own, which a request's Host must name
  int stop_fd = -1;               // readable once the server stops
  std::function<QString()> root;  // the folder served, canonical; empty serves nothing
};

// Serves the connection on `client` (a non-blocking socket) until it ends, then closes it.
void ServePreviewConnection(FileDescriptor client, const PreviewConnectionSite& site);

// A whole answer with `status` and a short text, ending the connection; the server sends it to
// clients it has no room for (503).
std::string PreviewRefusal(int status);

}  // namespace publish
