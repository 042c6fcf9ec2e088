#include "publish/preview_server.h"

#include <gtest/gtest.h>
#include <httplib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>
#include <chrono>
#include <vector>

#include "publish/get_code.h"
#include "publish/preview_page.h"
#include "publish/preview_site.h"
#include "publish/raw_http.h"

namespace publish {
namespace {

using namespace std::string_literals;

using test_support::BodyOf;
using test_support::Exchange;
using test_support::HeaderOf;
using test_support::RawConnection;
using test_support::StatusOf;
using test_support::WritePublic;

void Write(const QString& path, const QByteArray& bytes) {
  WritePublic(path, bytes);
}

using PreviewServerTest = test_support::PreviewSite;

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
        "/link.txt", "/up/secret.txt", "/ruffle", "/ruffle/", "/./index.html", "/index.html%00.txt",
        "/missing.html"}) {
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

// A page elsewhere on the web may have its own name point to 127.0.0.1 (DNS rebinding) and then
// read the answers as its own: only requests named for this server itself are answered.
TEST_F(PreviewServerTest, AnswersOnlyItsOwnHostName) {
  const std::string port = std::to_string(port_);
  const std::string other_port = std::to_string(port_ == 65535 ? 1 : port_ + 1);
  for (const std::string& host : std::vector<std::string>{
           "evil.com", "evil.com:" + port, "127.0.0.1", "127.0.0.1:" + other_port, "localhost",
           "127.0.0.1:" + port + ".evil.com", "127.0.0.2:" + port, "[::1]:" + port,
           "localhost.:" + port, "127.0.0.1:0" + port, " evil.com:" + port}) {
    const std::string response = Exchange(
        port_, "GET /index.html HTTP/1.1\r\nHost: " + host + "\r\nConnection: close\r\n\r\n");
    EXPECT_EQ(StatusOf(response), 403) << host;
    EXPECT_EQ(BodyOf(response).find("page"), std::string::npos) << host;
  }
  EXPECT_EQ(StatusOf(Exchange(port_, "GET /index.html HTTP/1.1\r\nConnection: close\r\n\r\n")),
            403);
  EXPECT_EQ(StatusOf(Exchange(port_, "GET /index.html HTTP/1.0\r\n\r\n")), 403);
  for (const std::string& host :
       std::vector<std::string>{"127.0.0.1:" + port, "localhost:" + port, "LocalHost:" + port}) {
    const std::string response = Exchange(
        port_, "GET /index.html HTTP/1.1\r\nHost: " + host + "\r\nConnection: close\r\n\r\n");
    EXPECT_EQ(StatusOf(response), 200) << host;
    EXPECT_EQ(BodyOf(response), "<p>page</p>") << host;
  }
}

// Dotfiles hold what a folder keeps to itself (keys, settings, a repository), and a file the
// owner keeps from other users stays kept: any local user can ask the server.
TEST_F(PreviewServerTest, KeepsDotfilesAndPrivateFiles) {
  Write(Path("site/.env"), "TOKEN=1");
  Write(Path("site/.git/config"), "[core]");
  Write(Path("site/sub/.ssh/id_rsa"), "KEY");
  Write(Path("site/.hidden.html"), "hidden");
  Write(Path("site/private.txt"), "mine");
  Write(Path("site/group.txt"), "ours");
  ASSERT_EQ(::chmod(QFile::encodeName(Path("site/private.txt")).constData(), 0600), 0);
  ASSERT_EQ(::chmod(QFile::encodeName(Path("site/group.txt")).constData(), 0640), 0);
  // A link with a plain name to a dotfile is no way around it.
  ASSERT_EQ(::symlink(".env", QFile::encodeName(Path("site/env.txt")).constData()), 0);
  const std::pair<const char*, const char*> cases[] = {
      {"/.env", "TOKEN"},          {"/.git/config", "[core]"}, {"/sub/.ssh/id_rsa", "KEY"},
      {"/.hidden.html", "hidden"}, {"/%2eenv", "TOKEN"},       {"/sub/%2Essh/id_rsa", "KEY"},
      {"/private.txt", "mine"},    {"/group.txt", "ours"},     {"/env.txt", "TOKEN"}};
  for (const auto& [path, content] : cases) {
    const std::string response = Exchange(port_, Get(path));
    EXPECT_EQ(StatusOf(response), 404) << path;
    EXPECT_EQ(BodyOf(response).find(content), std::string::npos) << path;
  }
  EXPECT_EQ(StatusOf(Exchange(port_, Get("/clip.flv"))), 200);
}

// A body is never read: the refusal comes at once, while the announced body is still unsent.
TEST_F(PreviewServerTest, RefusesBodiesWithoutWaitingForThem) {
  for (const std::string& request : std::vector<std::string>{
           "POST /index.html HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port_) +
               "\r\nContent-Length: 1000000000\r\n\r\n",
           "PUT /new.html HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port_) +
               "\r\nTransfer-Encoding: chunked\r\n\r\n",
           Get("/index.html", "Content-Length: 1000000000\r\n"),
       }) {
    RawConnection connection(port_);
    ASSERT_TRUE(connection.Send(request));
    const auto start = std::chrono::steady_clock::now();
    const std::string response = connection.Read(std::chrono::seconds(3));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2)) << request;
    EXPECT_TRUE(connection.closed()) << request;
    const int status = StatusOf(response);
    EXPECT_TRUE(status == 405 || status == 400) << request << response;
  }
  EXPECT_FALSE(QFile::exists(Path("site/new.html")));
}

TEST_F(PreviewServerTest, CapsTheRequestHead) {
  std::string many;
  for (int i = 0; i < 1000; ++i) many += "X-Header-" + std::to_string(i) + ": 1\r\n";
  const std::string huge = "X-Big: " + std::string(200000, 'a') + "\r\n";
  for (const std::string& request :
       std::vector<std::string>{Get("/index.html", many), Get("/index.html", huge)}) {
    RawConnection connection(port_);
    connection.Send(request);  // the server may close before all of it is sent
    const std::string response = connection.Read(std::chrono::seconds(5));
    const int status = StatusOf(response);
    EXPECT_TRUE(status == 431 || status == 400) << response.substr(0, 100);
    EXPECT_TRUE(connection.closed());
  }
}

// Malformed heads that two servers could frame differently are refused, and the connection
// with them.
TEST_F(PreviewServerTest, RefusesAmbiguousFraming) {
  const std::string host = "Host: 127.0.0.1:" + std::to_string(port_) + "\r\n";
  for (const std::string& request : std::vector<std::string>{
           "GET /index.html HTTP/1.1\r\n" + host + "Content-Length: 0\r\nContent-Length: 0\r\n\r\n",
           "GET /index.html HTTP/1.1\r\n" + host +
               "Content-Length: 0\r\nTransfer-Encoding: x\r\n\r\n",
           "GET /index.html HTTP/1.1\r\n" + host + "Content-Length: -1\r\n\r\n",
           "GET /index.html HTTP/1.1\r\n" + host + "X-A: 1\r\n folded\r\n\r\n",
           "GET /index.html HTTP/1.1\r\n" + host + "X-A: a\0b\r\n\r\n"s,
           "GET /index.html HTTP/1.1\r\n" + host + host + "\r\n",
           "GET /index.html HTTP/1.1\r\n" + host + "Bad Name: 1\r\n\r\n",
           "GET  /index.html HTTP/1.1\r\n" + host + "\r\n",
           "GET http://evil.com/index.html HTTP/1.1\r\n" + host + "\r\n",
       }) {
    const std::string response = Exchange(port_, request);
    EXPECT_EQ(StatusOf(response), 400) << request;
  }
  // A bare line feed may end a head or be refused, but never hides a second request.
  const std::string bare = Exchange(
      port_, "GET /index.html HTTP/1.1\n" + host + "\nGET /clip.flv HTTP/1.1\n" + host + "\n");
  EXPECT_EQ(bare.find("FLV0123456789"), std::string::npos);
}

TEST_F(PreviewServerTest, AnswersOneRangeAtMost) {
  // Many ranges: the whole file, as one plain answer.
  const std::string many = Exchange(port_, Get("/clip.flv", "Range: bytes=0-1,3-4,6-7\r\n"));
  EXPECT_EQ(StatusOf(many), 200);
  EXPECT_EQ(BodyOf(many), "FLV0123456789");
  // From the end of the file or past it: nothing there.
  for (const char* range : {"bytes=13-", "bytes=13-20", "bytes=99999999999999999999-"}) {
    const std::string past =
        Exchange(port_, Get("/clip.flv", std::string("Range: ") + range + "\r\n"));
    EXPECT_EQ(StatusOf(past), 416) << range;
    EXPECT_EQ(HeaderOf(past, "Content-Range"), "bytes */13") << range;
  }
  // Longer than the file: cut to its end, and the length says so.
  const std::string longer = Exchange(port_, Get("/clip.flv", "Range: bytes=5-1000\r\n"));
  EXPECT_EQ(StatusOf(longer), 206);
  EXPECT_EQ(HeaderOf(longer, "Content-Range"), "bytes 5-12/13");
  EXPECT_EQ(HeaderOf(longer, "Content-Length"), "8");
  EXPECT_EQ(BodyOf(longer), "23456789");
}

TEST_F(PreviewServerTest, TypesEveryFileOfAPageAndForbidsSniffing) {
  const std::pair<const char*, const char*> cases[] = {{"a.css", "text/css"},
                                                       {"a.svg", "image/svg+xml"},
                                                       {"a.json", "application/json"},
                                                       {"a.txt", "text/plain"},
                                                       {"a.png", "image/png"},
                                                       {"a.gif", "image/gif"},
                                                       {"a.mp4", "video/mp4"},
                                                       {"a.webm", "video/webm"},
                                                       {"a.xml", "application/xml"},
                                                       {"a.html", "text/html"},
                                                       {"a.bin", "application/octet-stream"}};
  for (const auto& [name, type] : cases) {
    Write(Path("site/") + name, "x");
    const std::string response = Exchange(port_, Get(std::string("/") + name));
    EXPECT_EQ(StatusOf(response), 200) << name;
    const std::string served = HeaderOf(response, "Content-Type");
    EXPECT_EQ(served.substr(0, served.find(';')), type) << name;
    EXPECT_EQ(HeaderOf(response, "X-Content-Type-Options"), "nosniff") << name;
  }
}

// The folder's address is its page: index.html, else its only page.
TEST_F(PreviewServerTest, RootServesTheFoldersPage) {
  auto root = Client().Get("/");
  ASSERT_TRUE(root);
  EXPECT_EQ(root->status, 200);
  EXPECT_EQ(root->body, "<p>page</p>");
  EXPECT_EQ(root->get_header_value("Content-Type"), "text/html");
  ASSERT_TRUE(QFile::remove(Path("site/index.html")));
  EXPECT_EQ(Client().Get("/")->body, "spaced");  // "my page.htm", the only page
  Write(Path("site/second.html"), "second");
  EXPECT_EQ(Status("/"), 404);  // two pages: neither is the folder's
  EXPECT_EQ(PreviewPageName(Path("site")), "");
  ASSERT_TRUE(QFile::remove(Path("site/second.html")));
  EXPECT_EQ(PreviewPageName(Path("site")), "my page.htm");
}

// The window's Preview address names the page whatever its name; the path is decoded once.
TEST_F(PreviewServerTest, PreviewAddressReachesItsPage) {
  for (const QString& name : {QString("a b#c%d&e?f+g.html"), QString("Übung ñ 日本.htm"),
                              QString("sub dir/p%41ge.html")}) {
    Write(Path("site/") + name, name.toUtf8());
    const QUrl address(PreviewAddress(port_, name));
    ASSERT_TRUE(address.isValid()) << name.toStdString();
    const std::string path =
        address.toEncoded(QUrl::RemoveScheme | QUrl::RemoveAuthority).toStdString();
    const std::string response = Exchange(port_, Get(path));
    EXPECT_EQ(StatusOf(response), 200) << path;
    EXPECT_EQ(BodyOf(response), name.toStdString()) << path;
  }
  Write(Path("site/A.txt"), "A");
  EXPECT_EQ(Status("/%2541.txt"), 404);  // "%41.txt", not "A.txt"
  EXPECT_EQ(Status("/A.txt?x=1"), 200);
  for (const char* path : {"/%zz", "/%", "/index.html%", "/%4", "/%%41"}) {
    const int status = StatusOf(Exchange(port_, Get(path)));
    EXPECT_TRUE(status == 400 || status == 404) << path;
  }
  EXPECT_EQ(Status("/index.html"), 200);  // still running
}

}  // namespace
}  // namespace publish
