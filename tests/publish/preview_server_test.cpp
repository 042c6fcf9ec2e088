#include "publish/preview_server.h"

#include <gtest/gtest.h>
#include <httplib.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace publish {
namespace {

void Write(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).path());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(bytes);
}

// Serves `site/` of a temporary folder; `secret.txt` lies beside it, outside the folder.
class PreviewServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Write(Path("site/index.html"), "<p>page</p>");
    Write(Path("site/ruffle/ruffle.js"), "js");
    Write(Path("site/ruffle/core.wasm"), "wasm");
    Write(Path("site/player.swf"), "FWS");
    Write(Path("site/clip.flv"), "FLV0123456789");
    Write(Path("site/pic.JPG"), "jpeg");
    Write(Path("site/my page.htm"), "spaced");
    Write(Path("secret.txt"), "secret");
    Write(Path("site2/index.html"), "other site");
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

  QTemporaryDir dir_;
  PreviewServer server_;
  int port_ = 0;
};

TEST_F(PreviewServerTest, ServesFilesWithTheirTypes) {
  const std::pair<const char*, const char*> cases[] = {
      {"/index.html", "text/html"},
      {"/ruffle/ruffle.js", "text/javascript"},
      {"/ruffle/core.wasm", "application/wasm"},
      {"/player.swf", "application/x-shockwave-flash"},
      {"/clip.flv", "video/x-flv"},
      {"/pic.JPG", "image/jpeg"},
      {"/my%20page.htm", "text/html"}};
  for (const auto& [path, type] : cases) {
    auto response = Client().Get(path);
    ASSERT_TRUE(response) << path;
    EXPECT_EQ(response->status, 200) << path;
    EXPECT_EQ(response->get_header_value("Content-Type"), type) << path;
  }
  EXPECT_EQ(Client().Get("/index.html")->body, "<p>page</p>");
  EXPECT_EQ(Client().Get("/my%20page.htm")->body, "spaced");
}

TEST_F(PreviewServerTest, AnswersByteRangesAndHead) {
  auto range = Client().Get("/clip.flv", {{"Range", "bytes=3-6"}});
  ASSERT_TRUE(range);
  EXPECT_EQ(range->status, 206);
  EXPECT_EQ(range->body, "0123");
  EXPECT_EQ(range->get_header_value("Content-Range"), "bytes 3-6/13");
  auto head = Client().Head("/clip.flv");
  ASSERT_TRUE(head);
  EXPECT_EQ(head->status, 200);
  EXPECT_EQ(head->body, "");
  EXPECT_EQ(head->get_header_value("Content-Length"), "13");
}

TEST_F(PreviewServerTest, StreamsLargeAndEmptyFilesWhole) {
  QByteArray big;
  for (int i = 0; i < 300000; ++i) big += char('a' + i % 23);
  Write(Path("site/big.flv"), big);
  Write(Path("site/empty.js"), "");
  auto whole = Client().Get("/big.flv");
  ASSERT_TRUE(whole);
  EXPECT_EQ(whole->body, big.toStdString());
  auto middle = Client().Get("/big.flv", {{"Range", "bytes=100000-200000"}});
  ASSERT_TRUE(middle);
  EXPECT_EQ(middle->status, 206);
  EXPECT_EQ(middle->body, big.mid(100000, 100001).toStdString());
  auto tail = Client().Get("/big.flv", {{"Range", "bytes=-5"}});
  ASSERT_TRUE(tail);
  EXPECT_EQ(tail->body, big.right(5).toStdString());
  auto empty = Client().Get("/empty.js");
  ASSERT_TRUE(empty);
  EXPECT_EQ(empty->status, 200);
  EXPECT_EQ(empty->body, "");
}

TEST_F(PreviewServerTest, RefusesEverythingOutsideTheFolder) {
  ASSERT_EQ(::symlink(QFile::encodeName(Path("secret.txt")).constData(),
                      QFile::encodeName(Path("site/link.txt")).constData()),
            0);
  ASSERT_EQ(::symlink(QFile::encodeName(dir_.path()).constData(),
                      QFile::encodeName(Path("site/up")).constData()),
            0);
  for (const char* path :
       {"/../secret.txt", "/%2e%2e/secret.txt", "/%2E%2E%2Fsecret.txt", "/ruffle/../../secret.txt",
        "/..%2fsecret.txt", "/..%5csecret.txt", "/%252e%252e/secret.txt", "//secret.txt",
        "/link.txt", "/up/secret.txt", "/", "/ruffle", "/ruffle/", "/./index.html",
        "/index.html%00.txt", "/missing.html"}) {
    EXPECT_EQ(Status(path), 404) << path;
  }
  const std::string absolute = "/" + Path("secret.txt").toStdString();
  EXPECT_EQ(Status(absolute), 404);
  EXPECT_EQ(Status("/index.html"), 200);
  EXPECT_EQ(Status("/up/site/index.html"), 200);  // a link out and back in ends inside
}

TEST_F(PreviewServerTest, OnlyGetAndHead) {
  auto post = Client().Post("/index.html", "x", "text/plain");
  ASSERT_TRUE(post);
  EXPECT_EQ(post->status, 405);
  auto del = Client().Delete("/index.html");
  ASSERT_TRUE(del);
  EXPECT_EQ(del->status, 405);
  EXPECT_TRUE(QFile::exists(Path("site/index.html")));
}

TEST_F(PreviewServerTest, ReRootsOnTheSamePortAndStops) {
  EXPECT_EQ(server_.Serve(Path("site2")), port_);
  EXPECT_EQ(Client().Get("/index.html")->body, "other site");
  EXPECT_EQ(Status("/clip.flv"), 404);
  server_.Stop();
  EXPECT_FALSE(server_.running());
  EXPECT_FALSE(Client().Get("/index.html"));
  const int again = server_.Serve(Path("site"));  // a stopped server starts anew
  ASSERT_GT(again, 0);
  port_ = again;
  EXPECT_EQ(Client().Get("/index.html")->body, "<p>page</p>");
}

TEST(PreviewServer, StopsAtOnceAfterStarting) {
  QTemporaryDir dir;
  for (int i = 0; i < 20; ++i) {
    PreviewServer server;
    ASSERT_GT(server.Serve(dir.path()), 0);
  }  // each destructor must return
}

TEST(PreviewServer, ListensOnLoopbackOnly) {
  QTemporaryDir dir;
  PreviewServer server;
  const int port = server.Serve(dir.path());
  ASSERT_GT(port, 0);
  // Every other local address of the machine is refused: the socket is bound to 127.0.0.1.
  httplib::Client other("127.0.0.2", port);
  other.set_connection_timeout(2);
  EXPECT_FALSE(other.Get("/"));
}

TEST(ResolvePreviewPath, NeedsARootAndAPlainFile) {
  QTemporaryDir dir;
  Write(QDir(dir.path()).filePath("a.htm"), "a");
  const QString root = QFileInfo(dir.path()).canonicalFilePath();
  EXPECT_EQ(ResolvePreviewPath(root, "/a.htm"), root + "/a.htm");
  EXPECT_EQ(ResolvePreviewPath({}, "/a.htm"), "");
  EXPECT_EQ(ResolvePreviewPath(root, "a.htm"), "");
  EXPECT_EQ(ResolvePreviewPath(root, std::string("/a.htm\0x", 8)), "");
  EXPECT_STREQ(PreviewContentType("x.bin"), "application/octet-stream");
}

}  // namespace
}  // namespace publish
