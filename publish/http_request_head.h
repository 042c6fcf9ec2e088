// The head of an HTTP/1.x request as the preview server reads it: strictly, so that no request
// can be framed one way here and another way by a proxy or browser in front. Whatever could be
// read two ways is refused, and the server closes the connection with it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace publish {

// A head longer than this, or with more header lines, is refused with 431. Browsers send a few
// hundred bytes; the room left is for cookies that other local servers set on 127.0.0.1.
inline constexpr size_t kMaxRequestHeadBytes = 32 * 1024;
inline constexpr int kMaxRequestHeaders = 100;

struct RequestHead {
  std::string method;
  std::string target;       // as sent, still percent-encoded
  bool keep_alive = false;  // HTTP/1.1 without "Connection: close"
  std::optional<std::string> host;
  // The Range header when there is exactly one and no If-Range. A request with If-Range gets
  // the whole file, which is always a right answer to it.
  std::optional<std::string> range;
  bool has_body = false;  // Content-Length above 0, or any Transfer-Encoding
  // The codings the client takes and the tags it holds: several headers of one name are one
  // comma-separated list.
  std::optional<std::string> accept_encoding;
  std::optional<std::string> if_none_match;
  std::optional<std::string> if_modified_since;  // only when there is exactly one
};

struct ParsedRequestHead {
  int refusal = 0;  // 0, or the status that refuses the head: 400 or 431
  RequestHead head;
};

// Parses `head`: the request line and header lines, each ending in CR LF, up to and with the
// empty line that ends the head. Refused with 400: a NUL or another control character, a line
// feed without its carriage return, a malformed request line or target (it must start with
// "/"), a version other than HTTP/1.0 and 1.1, a header line folded onto the one before or
// with a malformed name, two Host headers, two Content-Length headers or one that is not a
// number, both Content-Length and Transfer-Encoding.
ParsedRequestHead ParseRequestHead(std::string_view head);

}  // namespace publish
