// A bare HTTP client on a raw socket, for the requests a well-behaved client library would never
// send: malformed or hostile heads, bodies announced but never sent, bytes dribbled one at a
// time. Every wait is bounded, so a server that hangs fails the test instead of hanging it.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <string_view>

namespace test_support {

class RawConnection {
 public:
  explicit RawConnection(int port) : fd_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (fd_ >= 0 && ::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
      ::close(fd_);
      fd_ = -1;
    }
  }
  ~RawConnection() {
    if (fd_ >= 0) ::close(fd_);
  }
  RawConnection(const RawConnection&) = delete;
  RawConnection& operator=(const RawConnection&) = delete;

  bool connected() const { return fd_ >= 0; }
  int fd() const { return fd_; }

  bool Send(std::string_view bytes) {
    while (!bytes.empty()) {
      const ssize_t sent = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
      if (sent <= 0) return false;
      bytes.remove_prefix(static_cast<size_t>(sent));
    }
    return true;
  }

  // Reads until the server closes the connection, `until` has come, or `limit` has passed.
  std::string Read(std::chrono::milliseconds limit, std::string_view until = {}) {
    std::string got;
    closed_ = false;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
      if (!until.empty() && got.find(until) != std::string::npos) return got;
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) return got;
      pollfd wait{fd_, POLLIN, 0};
      if (::poll(&wait, 1, static_cast<int>(left.count())) <= 0) continue;
      char buffer[65536];
      const ssize_t count = ::recv(fd_, buffer, sizeof buffer, 0);
      if (count <= 0) {
        closed_ = true;
        return got;
      }
      got.append(buffer, static_cast<size_t>(count));
    }
  }

  // Whether the last Read ended because the server closed the connection.
  bool closed() const { return closed_; }

 private:
  int fd_;
  bool closed_ = false;
};

// Sends `request` on a new connection and reads until the server closes it (or 5 seconds pass).
inline std::string Exchange(int port, std::string_view request) {
  RawConnection connection(port);
  if (!connection.connected() || !connection.Send(request)) return {};
  return connection.Read(std::chrono::seconds(5));
}

// The status code of a response, or 0 when there is none.
inline int StatusOf(std::string_view response) {
  if (response.size() < 12 || response.substr(0, 5) != "HTTP/") return 0;
  return std::stoi(std::string(response.substr(9, 3)));
}

// A header's value in a response (the name in the case the server writes it), or "".
inline std::string HeaderOf(std::string_view response, std::string_view name) {
  const std::string key = "\r\n" + std::string(name) + ": ";
  const size_t head_end = response.find("\r\n\r\n");
  const size_t at = response.find(key);
  if (at == std::string_view::npos || at >= head_end) return {};
  const size_t start = at + key.size();
  return std::string(response.substr(start, response.find("\r\n", start) - start));
}

inline std::string BodyOf(std::string_view response) {
  const size_t head_end = response.find("\r\n\r\n");
  return head_end == std::string_view::npos ? std::string()
                                            : std::string(response.substr(head_end + 4));
}

}  // namespace test_support
