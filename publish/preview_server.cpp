#include "publish/preview_server.h"

#include <httplib.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace publish {

struct PreviewServer::State {
  std::mutex mutex;
  QString root;  // canonical
  int port = 0;
  std::unique_ptr<httplib::Server> server;
  std::thread thread;
  std::atomic<bool> listening_ended{false};

  QString Root() {
    std::lock_guard lock(mutex);
    return root;
  }
};

const char* PreviewContentType(const QString& file_name) {
  const QString suffix = QFileInfo(file_name).suffix().toLower();
  if (suffix == "html" || suffix == "htm") return "text/html";
  if (suffix == "js" || suffix == "mjs") return "text/javascript";
  if (suffix == "wasm") return "application/wasm";
  if (suffix == "swf") return "application/x-shockwave-flash";
  if (suffix == "flv") return "video/x-flv";
  if (suffix == "jpg" || suffix == "jpeg") return "image/jpeg";
  return "application/octet-stream";
}

QString ResolvePreviewPath(const QString& root, const std::string& request_path) {
  if (root.isEmpty() || request_path.size() < 2 || request_path[0] != '/') return {};
  if (request_path.find('\0') != std::string::npos) return {};
  const QString path = QString::fromStdString(request_path.substr(1));
  if (path.contains('\\')) return {};
  for (const QString& part : path.split('/')) {
    if (part.isEmpty() || part == "." || part == "..") return {};
  }
  const QFileInfo file(QDir(root).filePath(path));
  // Symbolic links are followed to where they lead, which must still be inside the folder.
  const QString canonical = file.canonicalFilePath();
  if (canonical.isEmpty() || !QFileInfo(canonical).isFile()) return {};
  if (!canonical.startsWith(root + '/')) return {};
  return canonical;
}

PreviewServer::PreviewServer() : state_(std::make_unique<State>()) {}

PreviewServer::~PreviewServer() {
  Stop();
}

int PreviewServer::Serve(const QString& folder) {
  {
    std::lock_guard lock(state_->mutex);
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    // The root folder itself would make every file of the machine servable.
    state_->root = canonical == "/" ? QString() : canonical;
  }
  if (state_->server) return state_->port;

  auto server = std::make_unique<httplib::Server>();
  State* state = state_.get();
  server->Get(".*", [state](const httplib::Request& request, httplib::Response& response) {
    const QString file_path = ResolvePreviewPath(state->Root(), request.path);
    auto file = std::make_shared<std::ifstream>();
    if (!file_path.isEmpty())
      file->open(QFile::encodeName(file_path).toStdString(), std::ios::binary);
    if (!*file || !file->is_open()) {
      response.status = 404;
      response.set_content("Not found", "text/plain");
      return;
    }
    // The file is streamed in pieces as asked for: the library cuts byte ranges from it and
    // answers HEAD without calling for the body, so a large video is never read whole.
    const auto size = static_cast<size_t>(QFileInfo(file_path).size());
    response.set_content_provider(
        size, PreviewContentType(file_path),
        [file](size_t offset, size_t length, httplib::DataSink& sink) {
          std::vector<char> buffer(std::min<size_t>(length, size_t(1) << 16));
          file->seekg(static_cast<std::streamoff>(offset));
          file->read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
          const std::streamsize got = file->gcount();
          if (got <= 0) return false;
          return sink.write(buffer.data(), static_cast<size_t>(got));
        });
  });
  const auto refuse = [](const httplib::Request&, httplib::Response& response) {
    response.status = 405;
    response.set_header("Allow", "GET, HEAD");
  };
  server->Post(".*", refuse);
  server->Put(".*", refuse);
  server->Patch(".*", refuse);
  server->Delete(".*", refuse);
  server->Options(".*", refuse);

  const int port = server->bind_to_any_port("127.0.0.1");
  if (port <= 0) return 0;
  state_->port = port;
  httplib::Server* raw = server.get();
  state_->server = std::move(server);
  state_->listening_ended = false;
  state_->thread = std::thread([raw, state] {
    raw->listen_after_bind();
    state->listening_ended = true;
  });
  return port;
}

void PreviewServer::Stop() {
  if (!state_->server) return;
  // A stop that comes before the thread has begun to listen is not seen by the server, so
  // it is repeated until the thread has left its loop.
  while (!state_->listening_ended) {
    state_->server->stop();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  if (state_->thread.joinable()) state_->thread.join();
  state_->server.reset();
  state_->port = 0;
}

int PreviewServer::port() const {
  return state_->port;
}

bool PreviewServer::running() const {
  return state_->server != nullptr;
}

}  // namespace publish
