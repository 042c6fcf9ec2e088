#include "publish/preview_connection.h"

#include <unistd.h>

#include <QFileInfo>
#include <algorithm>
#include <optional>
#include <vector>

#include "publish/byte_range.h"
#include "publish/client_socket.h"
#include "publish/content_coding.h"
#include "publish/http_date.h"
#include "publish/http_request_head.h"
#include "publish/preview_cache.h"
#include "publish/preview_content_type.h"
#include "publish/preview_encoding.h"
#include "publish/preview_file.h"
#include "publish/preview_host.h"
#include "publish/preview_page.h"
#include "publish/request_path.h"

namespace publish {

namespace {

using Clock = std::chrono::steady_clock;
using Headers = std::vector<std::pair<const char*, std::string>>;

const char* Reason(int status) {
  switch (status) {
    case 200:
      return "OK";
    case 206:
      return "Partial Content";
    case 304:
      return "Not Modified";
    case 400:
      return "Bad Request";
    case 403:
      return "Forbidden";
    case 404:
      return "Not Found";
    case 405:
      return "Method Not Allowed";
    case 416:
      return "Range Not Satisfiable";
    case 431:
      return "Request Header Fields Too Large";
    case 503:
      return "Service Unavailable";
  }
  return "Error";
}

std::string ResponseHead(int status, const Headers& headers, bool keep_alive) {
  std::string head = "HTTP/1.1 " + std::to_string(status) + " " + Reason(status) + "\r\n";
  for (const auto& [name, value] : headers) head += std::string(name) + ": " + value + "\r\n";
  head += "X-Content-Type-Options: nosniff\r\n";
  head += keep_alive ? "Connection: keep-alive\r\n\r\n" : "Connection: close\r\n\r\n";
  return head;
}

// An answer without a file: its status and reason as the text.
std::string PlainAnswer(int status, bool keep_alive, bool head_only, Headers headers = {}) {
  const std::string text = std::string(Reason(status)) + "\n";
  headers.emplace_back("Content-Type", "text/plain; charset=utf-8");
  headers.emplace_back("Content-Length", std::to_string(text.size()));
  return ResponseHead(status, headers, keep_alive) + (head_only ? std::string() : text);
}

enum class HeadRead { kHead, kGone, kTooLarge, kMalformed };

// Reads until `buffer` holds a whole request head, whose length goes to `head_size`. The
// first byte may take `idle`; the whole head must be there kRequestHeadDeadline after it.
HeadRead ReadHead(ClientSocket& socket, std::string& buffer, size_t& head_size,
                  std::chrono::seconds idle) {
  auto deadline = Clock::now() + (buffer.empty() ? idle : kRequestHeadDeadline);
  bool started = !buffer.empty();
  for (size_t scanned = 0;;) {
    // A bare line feed or a NUL is refused before the head ends: a head read one way here and
    // another way elsewhere is how requests are smuggled.
    for (; scanned < buffer.size(); ++scanned) {
      const char c = buffer[scanned];
      if (c == '\0' || (c == '\n' && (scanned == 0 || buffer[scanned - 1] != '\r')))
        return HeadRead::kMalformed;
      if (c == '\n' && scanned >= 3 && buffer.compare(scanned - 3, 4, "\r\n\r\n") == 0) {
        head_size = scanned + 1;
        return HeadRead::kHead;
      }
    }
    if (buffer.size() > kMaxRequestHeadBytes) return HeadRead::kTooLarge;
    if (!socket.ReadSome(buffer, kMaxRequestHeadBytes + 1 - buffer.size(), deadline))
      return HeadRead::kGone;
    if (!started) {
      started = true;
      deadline = Clock::now() + kRequestHeadDeadline;
    }
  }
}

// Sends `file`'s bytes first..last after `head`, read in pieces as the client takes them.
bool SendFile(ClientSocket& socket, const std::string& head, const PreviewFile& file,
              uint64_t first, uint64_t last, bool head_only) {
  if (!socket.SendAll(head, kSendStall)) return false;
  if (head_only || file.size == 0) return true;
  std::string piece(size_t(1) << 16, '\0');
  for (uint64_t offset = first; offset <= last;) {
    const size_t want = static_cast<size_t>(std::min<uint64_t>(piece.size(), last - offset + 1));
    const ssize_t got = ::pread(file.fd.get(), piece.data(), want, static_cast<off_t>(offset));
    // A file cut short while it is sent cannot keep the length announced: the connection ends.
    if (got <= 0) return false;
    if (!socket.SendAll(std::string_view(piece.data(), static_cast<size_t>(got)), kSendStall))
      return false;
    offset += static_cast<uint64_t>(got);
  }
  return true;
}

// The file a request's decoded path names; "/" names the folder's page, and `path` becomes
// its path.
std::optional<PreviewFile> FileFor(const QString& root, std::string& path, QString& name) {
  if (path == "/") {
    const QString page = PreviewPageName(root);
    if (page.isEmpty()) return std::nullopt;
    path += page.toStdString();
  }
  name = ResolvePreviewPath(root, path);
  if (name.isEmpty()) return std::nullopt;
  return OpenPreviewFile(name);
}

// What is sent for a file: the file itself, its precompressed copy, or gzip made here.
struct Representation {
  ContentCoding coding = ContentCoding::kIdentity;
  std::optional<PreviewFile> copy;
  bool gzip_here = false;
};

// The representation of `file` the request gets. A range is always of the plain file.
Representation RepresentationFor(const RequestHead& request, const QString& root,
                                 const std::string& path, const QString& name,
                                 const PreviewFile& file, bool ranged) {
  Representation chosen;
  if (ranged || !request.accept_encoding || !IsCompressible(name)) return chosen;
  std::optional<PreviewFile> brotli = OpenPrecompressed(root, path, file, ContentCoding::kBrotli);
  std::optional<PreviewFile> gzip = OpenPrecompressed(root, path, file, ContentCoding::kGzip);
  const bool gzip_here = !gzip && file.size >= kMinGzipOnTheFly && file.size < kMaxGzipOnTheFly;
  chosen.coding =
      ChooseContentCoding(*request.accept_encoding, brotli.has_value(), gzip || gzip_here);
  if (chosen.coding == ContentCoding::kBrotli) chosen.copy = std::move(brotli);
  if (chosen.coding == ContentCoding::kGzip) {
    chosen.copy = std::move(gzip);
    chosen.gzip_here = !chosen.copy;
  }
  return chosen;
}

// Whether the client's copy, named by its conditional headers, is still current. A tag, when
// sent, decides alone: it is the finer check.
bool StillCurrent(const RequestHead& request, const std::string& tag, int64_t modified) {
  if (request.if_none_match) return MatchesEntityTag(*request.if_none_match, tag);
  return request.if_modified_since && UnmodifiedSince(*request.if_modified_since, modified);
}

// Answers a request for `path` under `root` with the file, a part of it, 304 or 404. False when
// the connection broke off.
bool AnswerWithFile(ClientSocket& socket, const RequestHead& request, const QString& root,
                    std::string path) {
  const bool head_only = request.method == "HEAD";
  QString name;
  const std::optional<PreviewFile> file = FileFor(root, path, name);
  if (!file) return socket.SendAll(PlainAnswer(404, request.keep_alive, head_only), kSendStall);
  const ByteRange range = request.range ? ParseByteRange(*request.range, file->size) : ByteRange{};
  const Representation sent =
      RepresentationFor(request, root, path, name, *file, range.kind != ByteRange::kWhole);
  const PreviewFile* copy = sent.copy ? &*sent.copy : nullptr;
  const int64_t modified_ns = std::max(file->modified_ns, copy ? copy->modified_ns : 0);
  const int64_t modified = modified_ns / 1000000000;
  const std::string tag = PreviewEntityTag(*file, sent.coding, copy);

  // What a browser needs to keep the answer and ask about it again, on every answer for the file.
  Headers validators = {{"ETag", tag},
                        {"Last-Modified", FormatHttpDate(modified)},
                        {"Cache-Control", PreviewCacheControl(name)}};
  if (IsCompressible(name)) validators.emplace_back("Vary", "Accept-Encoding");
  if (StillCurrent(request, tag, modified))
    return socket.SendAll(ResponseHead(304, validators, request.keep_alive), kSendStall);

  const std::string size = std::to_string(file->size);
  if (range.kind == ByteRange::kUnsatisfiable) {
    const Headers headers = {{"Content-Range", "bytes */" + size}};
    return socket.SendAll(PlainAnswer(416, request.keep_alive, head_only, headers), kSendStall);
  }
  Headers headers = {{"Content-Type", PreviewContentType(name)}, {"Accept-Ranges", "bytes"}};
  headers.insert(headers.end(), validators.begin(), validators.end());
  if (range.kind == ByteRange::kPart) {
    headers.emplace_back("Content-Length", std::to_string(range.last - range.first + 1));
    headers.emplace_back("Content-Range", "bytes " + std::to_string(range.first) + "-" +
                                              std::to_string(range.last) + "/" + size);
    return SendFile(socket, ResponseHead(206, headers, request.keep_alive), *file, range.first,
                    range.last, head_only);
  }
  if (sent.coding != ContentCoding::kIdentity)
    headers.emplace_back("Content-Encoding", ContentCodingName(sent.coding));
  if (sent.gzip_here) {
    // Made for HEAD too, whose Content-Length must be GET's.
    const std::optional<std::string> body = GzipFile(*file);
    if (!body) return false;
    headers.emplace_back("Content-Length", std::to_string(body->size()));
    return socket.SendAll(
        ResponseHead(200, headers, request.keep_alive) + (head_only ? std::string() : *body),
        kSendStall);
  }
  const PreviewFile& body = copy ? *copy : *file;
  headers.emplace_back("Content-Length", std::to_string(body.size));
  return SendFile(socket, ResponseHead(200, headers, request.keep_alive), body, 0,
                  body.size == 0 ? 0 : body.size - 1, head_only);
}

}  // namespace

std::string PreviewRefusal(int status) {
  return PlainAnswer(status, false, false);
}

void ServePreviewConnection(FileDescriptor client, const PreviewConnectionSite& site) {
  ClientSocket socket(std::move(client), site.stop_fd);
  std::string buffer;  // what the client sent beyond the head answered: the next request
  for (bool first = true;; first = false) {
    size_t head_size = 0;
    switch (ReadHead(socket, buffer, head_size, first ? kRequestHeadDeadline : kKeepAliveIdle)) {
      case HeadRead::kHead:
        break;
      case HeadRead::kGone:
        return;
      case HeadRead::kTooLarge:
        socket.SendAll(PlainAnswer(431, false, false), kSendStall);
        return socket.Close();
      case HeadRead::kMalformed:
        socket.SendAll(PlainAnswer(400, false, false), kSendStall);
        return socket.Close();
    }
    const ParsedRequestHead parsed =
        ParseRequestHead(std::string_view(buffer).substr(0, head_size));
    buffer.erase(0, head_size);
    if (parsed.refusal != 0) {
      socket.SendAll(PlainAnswer(parsed.refusal, false, false), kSendStall);
      return socket.Close();
    }
    const RequestHead& request = parsed.head;
    const bool head_only = request.method == "HEAD";
    // Nothing here takes a body; one announced is never read, and the connection ends with the
    // answer, so its bytes are never taken for a request.
    int refusal = 0;
    Headers refusal_headers;
    std::optional<std::string> path;
    if (request.method != "GET" && !head_only) {
      refusal = 405;
      refusal_headers.emplace_back("Allow", "GET, HEAD");
    } else if (request.has_body) {
      refusal = 400;
    } else if (!request.host || !IsPreviewHost(*request.host, site.port)) {
      refusal = 403;
    } else if (!(path = DecodeRequestPath(request.target))) {
      refusal = 400;
    }
    if (refusal != 0) {
      socket.SendAll(PlainAnswer(refusal, false, head_only, refusal_headers), kSendStall);
      return socket.Close();
    }

    if (!AnswerWithFile(socket, request, site.root(), *path)) return;
    if (!request.keep_alive) return socket.Close();
  }
}

}  // namespace publish
