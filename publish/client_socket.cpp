#include "publish/client_socket.h"

#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>

namespace publish {

namespace {

// How long Close reads and drops what a client still sends, and how much at most.
constexpr auto kLinger = std::chrono::seconds(1);
constexpr size_t kLingerBytes = 1 << 20;

#ifdef MSG_NOSIGNAL
constexpr int kSendFlags = MSG_NOSIGNAL;  // a client gone is an error, not a signal
#else
constexpr int kSendFlags = 0;
#endif

}  // namespace

ClientSocket::ClientSocket(FileDescriptor socket, int stop_fd)
    : socket_(std::move(socket)), stop_fd_(stop_fd) {}

bool ClientSocket::WaitFor(short events, Clock::time_point deadline) {
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return false;
    pollfd waits[2] = {{socket_.get(), events, 0}, {stop_fd_, POLLIN, 0}};
    const int ready = ::poll(waits, 2, static_cast<int>(std::min<long long>(left, 60000)));
    if (ready < 0 && errno != EINTR) return false;
    if (ready <= 0) continue;
    if (waits[1].revents != 0) return false;
    // An error or hang-up is left to the read or send that follows to report.
    if (waits[0].revents != 0) return true;
  }
}

bool ClientSocket::ReadSome(std::string& buffer, size_t room, Clock::time_point deadline) {
  if (room == 0) return false;
  for (;;) {
    if (!WaitFor(POLLIN, deadline)) return false;
    const size_t before = buffer.size();
    buffer.resize(before + room);
    const ssize_t got = ::recv(socket_.get(), buffer.data() + before, room, 0);
    buffer.resize(before + static_cast<size_t>(std::max<ssize_t>(got, 0)));
    if (got > 0) return true;
    if (got == 0) return false;
    if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return false;
  }
}

bool ClientSocket::SendAll(std::string_view bytes, std::chrono::milliseconds stall) {
  while (!bytes.empty()) {
    const ssize_t sent = ::send(socket_.get(), bytes.data(), bytes.size(), kSendFlags);
    if (sent > 0) {
      bytes.remove_prefix(static_cast<size_t>(sent));
      continue;
    }
    if (sent < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return false;
    if (!WaitFor(POLLOUT, Clock::now() + stall)) return false;
  }
  return true;
}

void ClientSocket::Close() {
  if (!socket_.valid()) return;
  ::shutdown(socket_.get(), SHUT_WR);
  const auto deadline = Clock::now() + kLinger;
  std::string dropped;
  for (size_t total = 0; total < kLingerBytes;) {
    dropped.clear();
    if (!ReadSome(dropped, 65536, deadline)) break;
    total += dropped.size();
  }
  socket_.Reset();
}

}  // namespace publish
