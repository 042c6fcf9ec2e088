// A client's connection as a worker of the preview server uses it. Every wait is bounded and
// also ends the moment the server stops, so neither a slow client nor a stop ever waits on the
// other.
#pragma once

#include <chrono>
#include <string>
#include <string_view>

#include "publish/file_descriptor.h"

namespace publish {

class ClientSocket {
 public:
  using Clock = std::chrono::steady_clock;

  // `socket` is non-blocking; `stop_fd` becomes readable when the server stops.
  ClientSocket(FileDescriptor socket, int stop_fd);

  // Appends what the client has sent, at most `room` bytes, waiting for it until `deadline`.
  // False when nothing came: the client closed, the deadline passed, the server stops.
  bool ReadSome(std::string& buffer, size_t room, Clock::time_point deadline);

  // Sends all of `bytes`. False when the client took nothing for `stall`, has gone, or the
  // server stops.
  bool SendAll(std::string_view bytes, std::chrono::milliseconds stall);

  // Ends the connection after a last answer. What the client still sends (a body it announced,
  // more requests) is read and dropped for a moment first: closing with it unread would reset
  // the connection, and the client could lose the answer.
  void Close();

 private:
  bool WaitFor(short events, Clock::time_point deadline);

  FileDescriptor socket_;
  int stop_fd_;
};

}  // namespace publish
