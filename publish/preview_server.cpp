#include "publish/preview_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QFileInfo>
#include <cerrno>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

#include "publish/file_descriptor.h"
#include "publish/preview_connection.h"

namespace publish {

namespace {

// Connections served at once. A browser opens about six; more clients than this get 503.
constexpr int kMaxConnections = 64;
// How long Stop lets the connections' threads notice the stop; they hold nothing of the
// server's, so one still busy (reading from a slow disk) ends on its own.
constexpr auto kStopGrace = std::chrono::milliseconds(300);

// What the listening thread and the connections' threads share with the server. The last of
// them to go frees it, and its stop pipe with it.
struct Shared {
  std::mutex mutex;
  QString root;  // canonical
  int connections = 0;
  std::condition_variable connection_ended;
  int port = 0;
  // Written once on Stop, never read: it stays readable for every poll that watches it.
  FileDescriptor stop_read;
  FileDescriptor stop_write;

  QString Root() {
    std::lock_guard lock(mutex);
    return root;
  }
};

void ServeConnection(FileDescriptor client, std::shared_ptr<Shared> shared) {
  PreviewConnectionSite site;
  site.port = shared->port;
  site.stop_fd = shared->stop_read.get();
  site.root = [shared] { return shared->Root(); };
  ServePreviewConnection(std::move(client), site);
  std::lock_guard lock(shared->mutex);
  --shared->connections;
  shared->connection_ended.notify_all();
}

// Whether another connection may be served; counts it when it may.
bool TakeConnection(Shared& shared) {
  std::lock_guard lock(shared.mutex);
  if (shared.connections >= kMaxConnections) return false;
  ++shared.connections;
  return true;
}

void AcceptConnections(FileDescriptor listener, std::shared_ptr<Shared> shared) {
  for (;;) {
    pollfd waits[2] = {{listener.get(), POLLIN, 0}, {shared->stop_read.get(), POLLIN, 0}};
    if (::poll(waits, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (waits[1].revents != 0 || (waits[0].revents & (POLLERR | POLLNVAL)) != 0) return;
    if ((waits[0].revents & POLLIN) == 0) continue;
    FileDescriptor client(
        ::accept4(listener.get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
    if (!client.valid()) {
      // Out of descriptors: the waiting connection stays queued; try again shortly.
      if (errno == EMFILE || errno == ENFILE)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      continue;
    }
    // An answer goes out as its head and then its body: without this the body would wait
    // for the client to acknowledge the head, which it delays.
    const int no_delay = 1;
    ::setsockopt(client.get(), IPPROTO_TCP, TCP_NODELAY, &no_delay, sizeof no_delay);
    if (!TakeConnection(*shared)) {
      const std::string busy = PreviewRefusal(503);
      ::send(client.get(), busy.data(), busy.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
      continue;
    }
    try {
      std::thread(ServeConnection, std::move(client), shared).detach();
    } catch (const std::system_error&) {
      std::lock_guard lock(shared->mutex);
      --shared->connections;
    }
  }
}

// A socket listening on a free port of 127.0.0.1, and that port; an invalid one when none.
FileDescriptor ListenOnLoopback(int& port) {
  FileDescriptor listener(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
  if (!listener.valid()) return {};
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (::bind(listener.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listener.get(), SOMAXCONN) != 0 ||
      ::getsockname(listener.get(), reinterpret_cast<sockaddr*>(&address), &length) != 0)
    return {};
  port = ntohs(address.sin_port);
  return listener;
}

}  // namespace

struct PreviewServer::State {
  std::shared_ptr<Shared> shared;  // while running
  std::thread listening;
};

PreviewServer::PreviewServer() : state_(std::make_unique<State>()) {}

PreviewServer::~PreviewServer() {
  Stop();
}

int PreviewServer::Serve(const QString& folder) {
  const QString canonical = QFileInfo(folder).canonicalFilePath();
  // The root folder itself would make every file of the machine servable.
  const QString root = canonical == "/" ? QString() : canonical;
  if (state_->shared) {
    std::lock_guard lock(state_->shared->mutex);
    state_->shared->root = root;
    return state_->shared->port;
  }

  auto shared = std::make_shared<Shared>();
  shared->root = root;
  FileDescriptor listener = ListenOnLoopback(shared->port);
  int stop_pipe[2];
  if (!listener.valid() || ::pipe2(stop_pipe, O_CLOEXEC) != 0) return 0;
  shared->stop_read = FileDescriptor(stop_pipe[0]);
  shared->stop_write = FileDescriptor(stop_pipe[1]);
  try {
    state_->listening = std::thread(AcceptConnections, std::move(listener), shared);
  } catch (const std::system_error&) {
    return 0;
  }
  state_->shared = std::move(shared);
  return state_->shared->port;
}

void PreviewServer::Stop() {
  if (!state_->shared) return;
  Shared& shared = *state_->shared;
  const char stop = 1;
  while (::write(shared.stop_write.get(), &stop, 1) < 0 && errno == EINTR) {
  }
  state_->listening.join();  // and the listening socket is closed: new clients are refused
  {
    std::unique_lock lock(shared.mutex);
    shared.connection_ended.wait_for(lock, kStopGrace, [&] { return shared.connections == 0; });
  }
  state_->shared.reset();
}

int PreviewServer::port() const {
  return state_->shared ? state_->shared->port : 0;
}

bool PreviewServer::running() const {
  return state_->shared != nullptr;
}

}  // namespace publish
