// A published folder served by a real preview server on 127.0.0.1: `site/` of a temporary
// folder, with `secret.txt` beside it, outside what is served.
#pragma once

#include <gtest/gtest.h>
#include <httplib.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <string>

#include "publish/preview_server.h"

namespace test_support {

// Writes a file readable by everyone, as a published file is, whatever the test's umask.
inline void WritePublic(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).path());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(bytes);
  file.close();
  ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0644), 0);
}

class PreviewSite : public ::testing::Test {
 protected:
  void SetUp() override {
    WritePublic(Path("site/index.html"), "<p>page</p>");
    WritePublic(Path("site/ruffle/ruffle.js"), "js");
    WritePublic(Path("site/ruffle/core.wasm"), "wasm");
    WritePublic(Path("site/player.swf"), "FWS");
    WritePublic(Path("site/clip.flv"), "FLV0123456789");
    WritePublic(Path("site/pic.JPG"), "jpeg");
    WritePublic(Path("site/my page.htm"), "spaced");
    WritePublic(Path("secret.txt"), "secret");
    WritePublic(Path("site2/index.html"), "other site");
    port_ = server_.Serve(Path("site"));
    ASSERT_GT(port_, 0);
  }
  QString Path(const QString& name) const { return QDir(dir_.path()).filePath(name); }

  // A client that gives up after a few seconds, so a broken server fails the test.
  httplib::Client Client() const {
    httplib::Client client("127.0.0.1", port_);
    client.set_connection_timeout(5);
    client.set_read_timeout(5);
    client.set_write_timeout(5);
    return client;
  }
  int Status(const std::string& path) const {
    auto response = Client().Get(path);
    return response ? response->status : -1;
  }
  // A request head for `path` with this server's own Host, as a browser sends it.
  std::string Get(const std::string& path, const std::string& more_headers = {}) const {
    return "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port_) +
           "\r\nConnection: close\r\n" + more_headers + "\r\n";
  }

  QTemporaryDir dir_;
  publish::PreviewServer server_;
  int port_ = 0;
};

}  // namespace test_support
