// What the preview server sends over the wire: compressed where the browser takes it, and with
// validators so that a browser's second visit costs next to nothing.
#include <brotli/decode.h>
#include <brotli/encode.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <QFile>
#include <optional>
#include <string>
#include <vector>

#include "publish/http_date.h"
#include "publish/preview_site.h"
#include "publish/raw_http.h"

namespace publish {
namespace {

using test_support::BodyOf;
using test_support::Exchange;
using test_support::HeaderOf;
using test_support::StatusOf;
using test_support::WritePublic;

QByteArray Brotli(const QByteArray& plain) {
  std::vector<uint8_t> packed(BrotliEncoderMaxCompressedSize(plain.size()));
  size_t size = packed.size();
  EXPECT_TRUE(BrotliEncoderCompress(
      BROTLI_DEFAULT_QUALITY, BROTLI_DEFAULT_WINDOW, BROTLI_DEFAULT_MODE, plain.size(),
      reinterpret_cast<const uint8_t*>(plain.data()), &size, packed.data()));
  return QByteArray(reinterpret_cast<const char*>(packed.data()), qsizetype(size));
}

std::optional<std::string> Unbrotli(const std::string& packed) {
  BrotliDecoderState* state = BrotliDecoderCreateInstance(nullptr, nullptr, nullptr);
  std::string plain;
  size_t in_left = packed.size();
  const uint8_t* in = reinterpret_cast<const uint8_t*>(packed.data());
  BrotliDecoderResult result;
  do {
    uint8_t buffer[65536];
    size_t out_left = sizeof buffer;
    uint8_t* out = buffer;
    result = BrotliDecoderDecompressStream(state, &in_left, &in, &out_left, &out, nullptr);
    plain.append(reinterpret_cast<char*>(buffer), sizeof buffer - out_left);
  } while (result == BROTLI_DECODER_RESULT_NEEDS_MORE_OUTPUT);
  BrotliDecoderDestroyInstance(state);
  if (result != BROTLI_DECODER_RESULT_SUCCESS || in_left != 0) return std::nullopt;
  return plain;
}

QByteArray Gzip(const QByteArray& plain) {
  z_stream stream{};
  EXPECT_EQ(deflateInit2(&stream, 9, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY), Z_OK);
  QByteArray packed(qsizetype(deflateBound(&stream, uLong(plain.size()))), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(plain.data()));
  stream.avail_in = uInt(plain.size());
  stream.next_out = reinterpret_cast<Bytef*>(packed.data());
  stream.avail_out = uInt(packed.size());
  EXPECT_EQ(deflate(&stream, Z_FINISH), Z_STREAM_END);
  packed.resize(qsizetype(stream.total_out));
  deflateEnd(&stream);
  return packed;
}

// The bytes of a whole gzip stream, or nothing when it is not one.
std::optional<std::string> Gunzip(const std::string& packed) {
  z_stream stream{};
  if (inflateInit2(&stream, 15 + 16) != Z_OK) return std::nullopt;
  std::string plain;
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
  stream.avail_in = uInt(packed.size());
  int result;
  do {
    char buffer[65536];
    stream.next_out = reinterpret_cast<Bytef*>(buffer);
    stream.avail_out = sizeof buffer;
    result = inflate(&stream, Z_NO_FLUSH);
    plain.append(buffer, sizeof buffer - stream.avail_out);
  } while (result == Z_OK);
  const bool whole = result == Z_STREAM_END && stream.avail_in == 0;
  inflateEnd(&stream);
  if (!whole) return std::nullopt;
  return plain;
}

// Text that compresses, as scripts and modules do, with enough variety to tell parts apart.
QByteArray Text(int lines, const char* word) {
  QByteArray text;
  for (int i = 0; i < lines; ++i)
    text += QByteArray(word) + " line " + QByteArray::number(i) + "\n";
  return text;
}

void SetModified(const QString& path, time_t seconds) {
  const timespec times[2] = {{seconds, 0}, {seconds, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}

class PreviewServerEncodingTest : public test_support::PreviewSite {
 protected:
  void SetUp() override {
    PreviewSite::SetUp();
    runtime_ = Text(20000, "module");
    WritePublic(Path("site/ruffle/core.wasm"), runtime_);
    // The copies are written after the file, as the build writes them.
    WritePublic(Path("site/ruffle/core.wasm.br"), Brotli(runtime_));
    WritePublic(Path("site/ruffle/core.wasm.gz"), Gzip(runtime_));
  }
  std::string Request(const std::string& path, const std::string& headers,
                      const char* method = "GET") const {
    std::string request = Get(path, headers);
    return Exchange(port_, request.replace(0, 3, method));
  }
  // What `response`'s body holds once its Content-Encoding is undone.
  static std::optional<std::string> Decoded(const std::string& response) {
    const std::string coding = HeaderOf(response, "Content-Encoding");
    if (coding == "br") return Unbrotli(BodyOf(response));
    if (coding == "gzip") return Gunzip(BodyOf(response));
    if (coding.empty()) return BodyOf(response);
    return std::nullopt;
  }

  QByteArray runtime_;
};

TEST_F(PreviewServerEncodingTest, SendsTheCodingTheBrowserTakesBest) {
  const struct {
    const char* accept;
    const char* coding;
  } cases[] = {
      {"Accept-Encoding: gzip, deflate, br, zstd\r\n", "br"},
      {"Accept-Encoding: gzip, deflate\r\n", "gzip"},
      {"Accept-Encoding: br;q=0.4, gzip;q=0.8\r\n", "gzip"},
      {"Accept-Encoding: gzip;q=0, br\r\n", "br"},
      {"Accept-Encoding: gzip\r\nAccept-Encoding: br\r\n", "br"},
      {"Accept-Encoding: br;q=0, gzip;q=0\r\n", ""},
      {"Accept-Encoding: identity\r\n", ""},
      {"Accept-Encoding: deflate\r\n", ""},
      {"", ""},
  };
  for (const auto& [accept, coding] : cases) {
    const std::string response = Request("/ruffle/core.wasm", accept);
    ASSERT_EQ(StatusOf(response), 200) << accept;
    EXPECT_EQ(HeaderOf(response, "Content-Encoding"), coding) << accept;
    EXPECT_EQ(HeaderOf(response, "Content-Type"), "application/wasm") << accept;
    EXPECT_EQ(HeaderOf(response, "Vary"), "Accept-Encoding") << accept;
    EXPECT_EQ(HeaderOf(response, "Content-Length"), std::to_string(BodyOf(response).size()))
        << accept;
    EXPECT_EQ(Decoded(response), runtime_.toStdString()) << accept;
    if (*coding) {
      EXPECT_LT(BodyOf(response).size(), size_t(runtime_.size()) / 4) << accept;
    }
  }
}

// HEAD tells what GET would send, without it; a range is always of the plain file.
TEST_F(PreviewServerEncodingTest, HeadAndRangesMatchTheirGet) {
  const std::string accept = "Accept-Encoding: br, gzip\r\n";
  for (const char* path : {"/ruffle/core.wasm", "/index.html"}) {
    const std::string get = Request(path, accept);
    const std::string head = Request(path, accept, "HEAD");
    EXPECT_EQ(StatusOf(head), 200) << path;
    EXPECT_EQ(BodyOf(head), "") << path;
    for (const char* name :
         {"Content-Type", "Content-Length", "Content-Encoding", "ETag", "Last-Modified", "Vary"})
      EXPECT_EQ(HeaderOf(head, name), HeaderOf(get, name)) << path << " " << name;
  }
  const std::string part = Request("/ruffle/core.wasm", accept + "Range: bytes=100-199\r\n");
  EXPECT_EQ(StatusOf(part), 206);
  EXPECT_EQ(HeaderOf(part, "Content-Encoding"), "");
  EXPECT_EQ(HeaderOf(part, "Vary"), "Accept-Encoding");
  EXPECT_EQ(HeaderOf(part, "Content-Range"), "bytes 100-199/" + std::to_string(runtime_.size()));
  EXPECT_EQ(BodyOf(part), runtime_.mid(100, 100).toStdString());
  EXPECT_EQ(HeaderOf(part, "ETag"), HeaderOf(Request("/ruffle/core.wasm", ""), "ETag"));
}

// A copy stands in for its file only when the file itself could be sent and the copy could be
// too, and when it is no older than the file.
TEST_F(PreviewServerEncodingTest, IgnoresCopiesThatCannotStandIn) {
  const std::string accept = "Accept-Encoding: br\r\n";
  ASSERT_EQ(HeaderOf(Request("/ruffle/core.wasm", accept), "Content-Encoding"), "br");
  const QString copy = Path("site/ruffle/core.wasm.br");
  const auto plain_answer = [&](const char* what) {
    const std::string response = Request("/ruffle/core.wasm", accept);
    EXPECT_EQ(StatusOf(response), 200) << what;
    EXPECT_EQ(HeaderOf(response, "Content-Encoding"), "") << what;
    EXPECT_EQ(BodyOf(response), runtime_.toStdString()) << what;
  };

  SetModified(copy, 1000000);  // made from an older version
  plain_answer("stale");
  SetModified(copy, ::time(nullptr) + 10);
  EXPECT_EQ(HeaderOf(Request("/ruffle/core.wasm", accept), "Content-Encoding"), "br");

  ASSERT_EQ(::chmod(QFile::encodeName(copy).constData(), 0600), 0);
  plain_answer("private");
  ASSERT_TRUE(QFile::remove(copy));

  // A link out of the folder, to a brotli stream that is no copy of the file.
  WritePublic(Path("outside.br"), Brotli("secret"));
  ASSERT_EQ(::symlink(QFile::encodeName(Path("outside.br")).constData(),
                      QFile::encodeName(copy).constData()),
            0);
  plain_answer("linked out");
  ASSERT_TRUE(QFile::remove(copy));

  ASSERT_TRUE(QDir().mkdir(copy));
  plain_answer("folder");
  ASSERT_TRUE(QDir().rmdir(copy));

  ASSERT_EQ(::mkfifo(QFile::encodeName(copy).constData(), 0644), 0);
  plain_answer("fifo");  // and no wait for a writer
  ASSERT_TRUE(QFile::remove(copy));

  // A copy without its file, or beside a file kept from others, is never sent.
  WritePublic(Path("site/gone.js.br"), Brotli("gone"));
  EXPECT_EQ(StatusOf(Request("/gone.js", accept)), 404);
  WritePublic(Path("site/mine.js"), Text(100, "mine"));
  WritePublic(Path("site/mine.js.br"), Brotli(Text(100, "mine")));
  ASSERT_EQ(::chmod(QFile::encodeName(Path("site/mine.js")).constData(), 0600), 0);
  EXPECT_EQ(StatusOf(Request("/mine.js", accept)), 404);
}

// Text without a copy is gzipped as it is sent when it is small; video and pictures never are,
// not even from a copy beside them.
TEST_F(PreviewServerEncodingTest, GzipsSmallTextOnTheFlyOnly) {
  const QByteArray page = Text(200, "<p>paragraph</p>");
  WritePublic(Path("site/page.html"), page);
  const std::string accept = "Accept-Encoding: gzip, br\r\n";
  const std::string response = Request("/page.html", accept);
  EXPECT_EQ(HeaderOf(response, "Content-Encoding"), "gzip");
  EXPECT_EQ(Decoded(response), page.toStdString());
  EXPECT_LT(BodyOf(response).size(), size_t(page.size()) / 4);

  QByteArray big = Text(120000, "big");  // over 1 MiB, and no copy
  WritePublic(Path("site/big.js"), big);
  const std::string whole = Request("/big.js", accept);
  EXPECT_EQ(HeaderOf(whole, "Content-Encoding"), "");
  EXPECT_EQ(BodyOf(whole).size(), size_t(big.size()));

  WritePublic(Path("site/clip.flv.gz"), Gzip("FLV0123456789"));
  const std::string video = Request("/clip.flv", accept);
  EXPECT_EQ(HeaderOf(video, "Content-Encoding"), "");
  EXPECT_EQ(HeaderOf(video, "Vary"), "");
  EXPECT_EQ(BodyOf(video), "FLV0123456789");
}

TEST_F(PreviewServerEncodingTest, AnswersWithValidatorsAndNotModified) {
  const std::string accept = "Accept-Encoding: br\r\n";
  const std::string first = Request("/ruffle/core.wasm", accept);
  const std::string tag = HeaderOf(first, "ETag");
  const std::string modified = HeaderOf(first, "Last-Modified");
  ASSERT_FALSE(tag.empty());
  EXPECT_EQ(tag.front(), '"');  // strong
  EXPECT_TRUE(ParseHttpDate(modified)) << modified;
  // Each coding is its own representation with its own tag.
  const std::string plain_tag = HeaderOf(Request("/ruffle/core.wasm", ""), "ETag");
  const std::string gzip_tag =
      HeaderOf(Request("/ruffle/core.wasm", "Accept-Encoding: gzip\r\n"), "ETag");
  EXPECT_NE(tag, plain_tag);
  EXPECT_NE(tag, gzip_tag);
  EXPECT_NE(plain_tag, gzip_tag);

  for (const std::string& condition :
       {"If-None-Match: " + tag + "\r\n", "If-None-Match: \"other\", " + tag + "\r\n",
        "If-None-Match: W/" + tag + "\r\n", std::string("If-None-Match: *\r\n"),
        "If-Modified-Since: " + modified + "\r\n",
        "If-Modified-Since: " + FormatHttpDate(::time(nullptr) + 60) + "\r\n"}) {
    for (const char* method : {"GET", "HEAD"}) {
      const std::string response = Request("/ruffle/core.wasm", accept + condition, method);
      EXPECT_EQ(StatusOf(response), 304) << condition << method;
      EXPECT_EQ(BodyOf(response), "") << condition << method;
      EXPECT_EQ(HeaderOf(response, "ETag"), tag) << condition << method;
      EXPECT_EQ(HeaderOf(response, "Cache-Control"), "no-cache") << condition << method;
      EXPECT_EQ(HeaderOf(response, "Vary"), "Accept-Encoding") << condition << method;
    }
  }
  for (const std::string& condition :
       {"If-None-Match: " + plain_tag + "\r\n", std::string("If-None-Match: \"x\"\r\n"),
        // A tag sent decides alone, over a date that would match.
        "If-None-Match: \"x\"\r\nIf-Modified-Since: " + modified + "\r\n",
        "If-Modified-Since: " + FormatHttpDate(1000000) + "\r\n",
        std::string("If-Modified-Since: not a date\r\n")}) {
    const std::string response = Request("/ruffle/core.wasm", accept + condition);
    EXPECT_EQ(StatusOf(response), 200) << condition;
    EXPECT_EQ(Decoded(response), runtime_.toStdString()) << condition;
  }

  // A new version under the same name has a new tag: the old one no longer matches.
  const QByteArray changed = Text(20000, "changed");
  WritePublic(Path("site/ruffle/core.wasm"), changed);
  const std::string after = Request("/ruffle/core.wasm", "If-None-Match: " + plain_tag + "\r\n");
  EXPECT_EQ(StatusOf(after), 200);
  EXPECT_NE(HeaderOf(after, "ETag"), plain_tag);
  EXPECT_EQ(BodyOf(after), changed.toStdString());
  // The brotli copy is now older than the file: the plain file goes instead.
  EXPECT_EQ(HeaderOf(Request("/ruffle/core.wasm", accept), "Content-Encoding"), "");
}

TEST_F(PreviewServerEncodingTest, KeepsOnlyHashedRuntimeFilesWithoutAsking) {
  WritePublic(Path("site/ruffle/core.ruffle.0123456789abcdef0123.js"), "core");
  WritePublic(Path("site/ruffle/0123456789abcdef0123.wasm"), "wasm");
  const struct {
    const char* path;
    const char* cache;
  } cases[] = {
      {"/ruffle/core.ruffle.0123456789abcdef0123.js", "public, max-age=31536000, immutable"},
      {"/ruffle/0123456789abcdef0123.wasm", "public, max-age=31536000, immutable"},
      {"/ruffle/ruffle.js", "no-cache"},
      {"/ruffle/core.wasm", "no-cache"},
      {"/", "no-cache"},
      {"/index.html", "no-cache"},
      {"/clip.flv", "no-cache"},
      {"/player.swf", "no-cache"},
  };
  for (const auto& [path, cache] : cases) {
    const std::string response = Request(path, "");
    EXPECT_EQ(StatusOf(response), 200) << path;
    EXPECT_EQ(HeaderOf(response, "Cache-Control"), cache) << path;
  }
  EXPECT_EQ(HeaderOf(Request("/missing.js", ""), "Cache-Control"), "");
}

}  // namespace
}  // namespace publish
