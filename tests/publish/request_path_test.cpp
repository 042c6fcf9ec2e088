// The request's target and Host, as the preview server reads them before it looks for a file.
#include "publish/request_path.h"

#include <gtest/gtest.h>

#include "publish/preview_host.h"

namespace publish {
namespace {

using namespace std::string_literals;

TEST(DecodeRequestPath, DecodesOnceAndLeavesOffTheQuery) {
  const std::pair<const char*, std::string> cases[] = {
      {"/index.html", "/index.html"},
      {"/my%20page.htm", "/my page.htm"},
      {"/a+b.html", "/a+b.html"},
      {"/%2541.txt", "/%41.txt"},
      {"/%2e%2E/x", "/../x"},  // found here; refused where the file is looked for
      {"/a%23b%3Fc%26d.html", "/a#b?c&d.html"},
      {"/%C3%9Cbung.htm",
       "/\xC3\x9C"
       "bung.htm"},
      {"/index.html?x=1", "/index.html"},
      {"/index.html?a=%zz", "/index.html"},
      {"/?", "/"},
      {"/a%00b", "/a\0b"s},
  };
  for (const auto& [target, path] : cases) EXPECT_EQ(DecodeRequestPath(target), path) << target;
}

TEST(DecodeRequestPath, RefusesInvalidEscapes) {
  for (const char* target : {"/%", "/%4", "/%zz", "/%g0", "/a%", "/%%41", "/%4?x", "/% 1"})
    EXPECT_FALSE(DecodeRequestPath(target)) << target;
}

TEST(IsPreviewHost, OnlyTheServersOwnNames) {
  for (const char* host : {"127.0.0.1:8123", "localhost:8123", "LOCALHOST:8123", "LocalHost:8123"})
    EXPECT_TRUE(IsPreviewHost(host, 8123)) << host;
  for (const char* host :
       {"", ":8123", "127.0.0.1", "localhost", "127.0.0.1:8124", "127.0.0.1:812", "127.0.0.1:08123",
        "127.0.0.1:81230", "evil.com:8123", "localhost.:8123", "sub.localhost:8123",
        "127.0.0.2:8123", "127.1:8123", "[::1]:8123", "127.0.0.1:8123 ", "127.0.0.1 :8123",
        "localhost:8123:8123", "xlocalhost:8123", "l0calhost:8123"})
    EXPECT_FALSE(IsPreviewHost(host, 8123)) << host;
}

}  // namespace
}  // namespace publish
