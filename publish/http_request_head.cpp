#include "publish/http_request_head.h"

#include <algorithm>
#include <cctype>

namespace publish {

namespace {

bool IsTokenChar(char c) {
  const auto u = static_cast<unsigned char>(c);
  return std::isalnum(u) || std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
}

bool IsToken(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), IsTokenChar);
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// Whether a comma-separated header value lists `token` (in any letter case).
bool ListsToken(std::string_view value, std::string_view token) {
  while (!value.empty()) {
    const size_t comma = value.find(',');
    if (Lower(TrimBlanks(value.substr(0, comma))) == token) return true;
    if (comma == std::string_view::npos) break;
    value.remove_prefix(comma + 1);
  }
  return false;
}

void AppendToList(std::optional<std::string>& list, std::string_view value) {
  if (list)
    *list += ", " + std::string(value);
  else
    list = std::string(value);
}

// The target: origin form only, printable ASCII without blanks.
bool IsOriginTarget(std::string_view target) {
  if (target.empty() || target.front() != '/') return false;
  return std::all_of(target.begin(), target.end(), [](char c) {
    const auto u = static_cast<unsigned char>(c);
    return u > 0x20 && u < 0x7f;
  });
}

}  // namespace

ParsedRequestHead ParseRequestHead(std::string_view head) {
  ParsedRequestHead parsed;
  auto refuse = [&parsed](int status) {
    parsed.refusal = status;
    return parsed;
  };
  if (head.size() > kMaxRequestHeadBytes) return refuse(431);
  // Every line ends in CR LF and holds no other control character than a tab.
  for (size_t i = 0; i < head.size(); ++i) {
    const auto c = static_cast<unsigned char>(head[i]);
    if (c == '\n' && (i == 0 || head[i - 1] != '\r')) return refuse(400);
    if (c == '\r' && (i + 1 == head.size() || head[i + 1] != '\n')) return refuse(400);
    if ((c < 0x20 && c != '\r' && c != '\n' && c != '\t') || c == 0x7f) return refuse(400);
  }
  if (head.size() < 4 || head.substr(head.size() - 4) != "\r\n\r\n") return refuse(400);
  head.remove_suffix(2);  // the empty line; every line left ends in CR LF

  const size_t line_end = head.find("\r\n");
  const std::string_view request_line = head.substr(0, line_end);
  head.remove_prefix(line_end + 2);
  const size_t first_space = request_line.find(' ');
  const size_t second_space = request_line.find(' ', first_space + 1);
  if (first_space == std::string_view::npos || second_space == std::string_view::npos)
    return refuse(400);
  const std::string_view method = request_line.substr(0, first_space);
  const std::string_view target =
      request_line.substr(first_space + 1, second_space - first_space - 1);
  const std::string_view version = request_line.substr(second_space + 1);
  if (!IsToken(method) || !IsOriginTarget(target)) return refuse(400);
  if (version != "HTTP/1.1" && version != "HTTP/1.0") return refuse(400);
  RequestHead& request = parsed.head;
  request.method = method;
  request.target = target;

  int header_count = 0;
  int content_length_count = 0;
  int range_count = 0;
  bool if_range = false;
  int if_modified_since_count = 0;
  bool transfer_encoding = false;
  bool close = version == "HTTP/1.0";
  unsigned long long content_length = 0;
  while (!head.empty()) {
    const size_t end = head.find("\r\n");
    const std::string_view line = head.substr(0, end);
    head.remove_prefix(end + 2);
    if (++header_count > kMaxRequestHeaders) return refuse(431);
    // A line starting with a blank continues the one before (obsolete folding).
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos || !IsToken(line.substr(0, colon))) return refuse(400);
    const std::string name = Lower(line.substr(0, colon));
    const std::string_view value = TrimBlanks(line.substr(colon + 1));
    if (name == "host") {
      if (request.host) return refuse(400);
      request.host = std::string(value);
    } else if (name == "content-length") {
      if (++content_length_count > 1 || value.empty() || value.size() > 18 ||
          !std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return refuse(400);
      content_length = std::stoull(std::string(value));
    } else if (name == "transfer-encoding") {
      transfer_encoding = true;
    } else if (name == "connection") {
      if (ListsToken(value, "close")) close = true;
    } else if (name == "range") {
      ++range_count;
      request.range = std::string(value);
    } else if (name == "if-range") {
      if_range = true;
    } else if (name == "accept-encoding") {
      AppendToList(request.accept_encoding, value);
    } else if (name == "if-none-match") {
      AppendToList(request.if_none_match, value);
    } else if (name == "if-modified-since") {
      ++if_modified_since_count;
      request.if_modified_since = std::string(value);
    }
  }
  if (if_modified_since_count != 1) request.if_modified_since.reset();
  if (content_length_count > 0 && transfer_encoding) return refuse(400);
  if (range_count != 1 || if_range) request.range.reset();
  request.has_body = transfer_encoding || content_length > 0;
  request.keep_alive = !close;
  return parsed;
}

}  // namespace publish
