#include "publish/http_request_head.h"

#include <gtest/gtest.h>

#include <string>

namespace publish {
namespace {

using namespace std::string_literals;

TEST(ParseRequestHead, ReadsWhatTheServerUses) {
  const ParsedRequestHead parsed = ParseRequestHead(
      "GET /a%20b.flv?x=1 HTTP/1.1\r\nhOsT:  127.0.0.1:80 \r\nRange: bytes=1-2\r\n"
      "Content-Length: 0\r\nConnection: keep-alive, Upgrade\r\n\r\n");
  ASSERT_EQ(parsed.refusal, 0);
  EXPECT_EQ(parsed.head.method, "GET");
  EXPECT_EQ(parsed.head.target, "/a%20b.flv?x=1");
  EXPECT_EQ(parsed.head.host, "127.0.0.1:80");
  EXPECT_EQ(parsed.head.range, "bytes=1-2");
  EXPECT_FALSE(parsed.head.has_body);
  EXPECT_TRUE(parsed.head.keep_alive);
}

TEST(ParseRequestHead, KeepsAliveOnlyHttp11WithoutClose) {
  EXPECT_FALSE(ParseRequestHead("GET / HTTP/1.0\r\n\r\n").head.keep_alive);
  EXPECT_FALSE(
      ParseRequestHead("GET / HTTP/1.0\r\nConnection: keep-alive\r\n\r\n").head.keep_alive);
  EXPECT_FALSE(ParseRequestHead("GET / HTTP/1.1\r\nConnection: TE, Close\r\n\r\n").head.keep_alive);
  EXPECT_TRUE(ParseRequestHead("GET / HTTP/1.1\r\nConnection: closed\r\n\r\n").head.keep_alive);
}

TEST(ParseRequestHead, NoticesEveryAnnouncedBody) {
  EXPECT_TRUE(ParseRequestHead("POST / HTTP/1.1\r\nContent-Length: 1\r\n\r\n").head.has_body);
  EXPECT_TRUE(
      ParseRequestHead("GET / HTTP/1.1\r\nContent-Length: 0000000000000000001\r\n\r\n").refusal ==
      400);  // longer than any length the server would count
  EXPECT_TRUE(
      ParseRequestHead("POST / HTTP/1.1\r\nTransfer-Encoding: identity\r\n\r\n").head.has_body);
  EXPECT_FALSE(ParseRequestHead("POST / HTTP/1.1\r\nContent-Length: 000\r\n\r\n").head.has_body);
}

TEST(ParseRequestHead, UsesOnlyASingleRangeWithoutIfRange) {
  EXPECT_FALSE(
      ParseRequestHead("GET / HTTP/1.1\r\nRange: bytes=1-\r\nRange: bytes=2-\r\n\r\n").head.range);
  EXPECT_FALSE(
      ParseRequestHead("GET / HTTP/1.1\r\nRange: bytes=1-\r\nIf-Range: x\r\n\r\n").head.range);
  EXPECT_FALSE(ParseRequestHead("GET / HTTP/1.1\r\n\r\n").head.range);
}

// Heads that two readers could frame differently, or that no browser sends.
TEST(ParseRequestHead, RefusesAmbiguousAndMalformedHeads) {
  const std::string cases[] = {
      "",
      "\r\n\r\n",
      "GET / HTTP/1.1\r\n",  // no end
      "GET / HTTP/1.1\n\n",  // bare line feeds
      "GET / HTTP/1.1\r\nA: b\n\r\n",
      "GET / HTTP/1.1\r\nA: b\rc\r\n\r\n",   // bare carriage return
      "GET / HTTP/1.1\r\nA: b\0c\r\n\r\n"s,  // NUL
      "GET /\0 HTTP/1.1\r\n\r\n"s,
      "GET / HTTP/1.1\r\nA: \x01\r\n\r\n",
      "GET / HTTP/1.1\r\nA: b\r\n c\r\n\r\n",  // folded
      "GET / HTTP/1.1\r\n\tA: b\r\n\r\n",
      "GET / HTTP/1.1\r\nA : b\r\n\r\n",  // blank before the colon
      "GET / HTTP/1.1\r\nA\r\n\r\n",
      "GET / HTTP/1.1\r\n: b\r\n\r\n",
      "GET / HTTP/1.1\r\nContent-Length: 1\r\nContent-Length: 1\r\n\r\n",
      "GET / HTTP/1.1\r\nContent-Length: 1, 1\r\n\r\n",
      "GET / HTTP/1.1\r\nContent-Length: +1\r\n\r\n",
      "GET / HTTP/1.1\r\nContent-Length: 0x10\r\n\r\n",
      "GET / HTTP/1.1\r\nContent-Length:\r\n\r\n",
      "GET / HTTP/1.1\r\nContent-Length: 0\r\nTransfer-Encoding: chunked\r\n\r\n",
      "GET / HTTP/1.1\r\nHost: a\r\nHost: a\r\n\r\n",
      "GET  / HTTP/1.1\r\n\r\n",
      "GET / HTTP/1.1 \r\n\r\n",
      "GET / HTTP/2.0\r\n\r\n",
      "GET / http/1.1\r\n\r\n",
      "GET /\r\n\r\n",  // HTTP/0.9
      "GET http://evil.com/ HTTP/1.1\r\n\r\n",
      "GET * HTTP/1.1\r\n\r\n",
      "GET /a\x80 HTTP/1.1\r\n\r\n",
      "G(T / HTTP/1.1\r\n\r\n",
  };
  for (const std::string& head : cases)
    EXPECT_EQ(ParseRequestHead(head).refusal, 400) << testing::PrintToString(head);
}

TEST(ParseRequestHead, CapsHeaderCountAndSize) {
  std::string many = "GET / HTTP/1.1\r\n";
  for (int i = 0; i < kMaxRequestHeaders; ++i) many += "A: b\r\n";
  EXPECT_EQ(ParseRequestHead(many + "\r\n").refusal, 0);
  EXPECT_EQ(ParseRequestHead(many + "A: b\r\n\r\n").refusal, 431);
  const std::string big = "GET / HTTP/1.1\r\nA: " + std::string(kMaxRequestHeadBytes, 'a');
  EXPECT_EQ(ParseRequestHead(big + "\r\n\r\n").refusal, 431);
}

}  // namespace
}  // namespace publish
