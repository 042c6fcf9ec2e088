#include "publish/preview_cache.h"

#include <gtest/gtest.h>

#include "publish/http_date.h"

namespace publish {
namespace {

TEST(HttpDate, WritesAndReadsTheOneFormBrowsersSend) {
  EXPECT_EQ(FormatHttpDate(784111777), "Sun, 06 Nov 1994 08:49:37 GMT");
  EXPECT_EQ(FormatHttpDate(0), "Thu, 01 Jan 1970 00:00:00 GMT");
  EXPECT_EQ(ParseHttpDate("Sun, 06 Nov 1994 08:49:37 GMT"), 784111777);
  EXPECT_EQ(ParseHttpDate("Wed, 09 Dec 2026 00:50:01 GMT"), 1796777401);
  for (const int64_t seconds : {int64_t(1), int64_t(951782400), int64_t(4102444799)})
    EXPECT_EQ(ParseHttpDate(FormatHttpDate(seconds)), seconds);
  for (const char* text : {"", "Sunday, 06-Nov-94 08:49:37 GMT", "Sun Nov  6 08:49:37 1994",
                           "Sun, 06 Nov 1994 08:49:37 UTC", "Sun, 6 Nov 1994 08:49:37 GMT ",
                           "Sun, 06 Foo 1994 08:49:37 GMT", "Sun, 06 Nov 1994 24:49:37 GMT",
                           "Sun, 00 Nov 1994 08:49:37 GMT", "Sun, 06 Nov 19x4 08:49:37 GMT",
                           "Sun, 06 Nov 1969 08:49:37 GMT"})
    EXPECT_FALSE(ParseHttpDate(text)) << text;
}

TEST(PreviewValidators, TagsTellVersionsAndCodingsApart) {
  PreviewFile file;
  file.inode = 0x1234;
  file.size = 100;
  file.modified_ns = 1'700'000'000'123'456'789;
  const std::string plain = PreviewEntityTag(file, ContentCoding::kIdentity);
  EXPECT_EQ(plain.front(), '"');  // strong: no W/
  EXPECT_EQ(plain.back(), '"');
  PreviewFile copy;
  copy.inode = 0x99;
  copy.size = 30;
  copy.modified_ns = file.modified_ns;
  const std::string brotli = PreviewEntityTag(file, ContentCoding::kBrotli, &copy);
  const std::string gzip = PreviewEntityTag(file, ContentCoding::kGzip);
  EXPECT_NE(plain, brotli);
  EXPECT_NE(plain, gzip);
  EXPECT_NE(brotli, gzip);
  // A change of a nanosecond, of the size or of the inode is another version.
  for (auto change : {+[](PreviewFile& f) { ++f.modified_ns; }, +[](PreviewFile& f) { ++f.size; },
                      +[](PreviewFile& f) { ++f.inode; }}) {
    PreviewFile other;
    other.inode = file.inode;
    other.size = file.size;
    other.modified_ns = file.modified_ns;
    change(other);
    EXPECT_NE(PreviewEntityTag(other, ContentCoding::kIdentity), plain);
  }
}

TEST(PreviewValidators, IfNoneMatchListsAndIfModifiedSince) {
  const std::string tag = "\"1-2-3\"";
  for (const char* header : {"\"1-2-3\"", "*", " * ", "W/\"1-2-3\"", "\"x\", \"1-2-3\"",
                             "\"a,b\",\"1-2-3\"", "W/\"x\" , W/\"1-2-3\""})
    EXPECT_TRUE(MatchesEntityTag(header, tag)) << header;
  for (const char* header :
       {"", "\"1-2-3", "1-2-3", "\"1-2-\"", "\"x\"", "\"x\" \"1-2-3\"", "**", "\"1-2-3-br\""})
    EXPECT_FALSE(MatchesEntityTag(header, tag)) << header;

  const char* date = "Sun, 06 Nov 1994 08:49:37 GMT";
  EXPECT_TRUE(UnmodifiedSince(date, 784111777));
  EXPECT_TRUE(UnmodifiedSince(date, 784111776));
  EXPECT_FALSE(UnmodifiedSince(date, 784111778));
  EXPECT_FALSE(UnmodifiedSince("yesterday", 0));
}

TEST(PreviewValidators, OnlyHashedRuntimeFilesAreKeptWithoutAsking) {
  const char* a_year = "public, max-age=31536000, immutable";
  EXPECT_STREQ(PreviewCacheControl("/s/ruffle/core.ruffle.c80159b526e567babaf5.js"), a_year);
  EXPECT_STREQ(PreviewCacheControl("/s/ruffle/72a20ef1c0b8ceb37720.wasm"), a_year);
  for (const char* name :
       {"/s/ruffle/ruffle.js", "/s/index.html", "/s/clip.flv", "/s/player.swf",
        "/s/ruffle/core.wasm", "/s/ruffle/core.ruffle.js",
        "/s/ruffle/core.ruffle.c80159b526e567babaf5.js.map", "/s/ruffle/72A20EF1C0B8CEB37720.wasm",
        "/s/ruffle/package.json", "/s/ruffle/72a20ef1c0b8ceb37720.wasm.br"})
    EXPECT_STREQ(PreviewCacheControl(name), "no-cache") << name;
}

}  // namespace
}  // namespace publish
