#include "publish/content_coding.h"

#include <cctype>
#include <string>

namespace publish {

namespace {

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

// A q-value in thousandths: "0", "0.5", "1", "1.000". -1 when malformed.
int Weight(std::string_view q) {
  if (q.empty() || q.size() > 5 || (q[0] != '0' && q[0] != '1')) return -1;
  if (q.size() > 1 && q[1] != '.') return -1;
  int thousandths = (q[0] - '0') * 1000;
  int scale = 100;
  for (const char c : q.substr(q.size() > 1 ? 2 : 1)) {
    if (c < '0' || c > '9') return -1;
    thousandths += (c - '0') * scale;
    scale /= 10;
  }
  return thousandths > 1000 ? -1 : thousandths;
}

struct Weights {
  int brotli = -1, gzip = -1, identity = -1, any = -1;  // -1: not named
};

Weights ReadWeights(std::string_view header) {
  Weights weights;
  while (!header.empty()) {
    const size_t comma = header.find(',');
    std::string_view item = header.substr(0, comma);
    header.remove_prefix(comma == std::string_view::npos ? header.size() : comma + 1);
    int weight = 1000;
    const size_t semicolon = item.find(';');
    if (semicolon != std::string_view::npos) {
      // Of the parameters only q counts; a malformed one makes the coding unwanted.
      std::string_view parameters = item.substr(semicolon + 1);
      item = item.substr(0, semicolon);
      while (!parameters.empty()) {
        const size_t next = parameters.find(';');
        const std::string_view parameter = TrimBlanks(parameters.substr(0, next));
        parameters.remove_prefix(next == std::string_view::npos ? parameters.size() : next + 1);
        if (parameter.size() >= 2 && (parameter[0] == 'q' || parameter[0] == 'Q') &&
            parameter[1] == '=') {
          weight = std::max(Weight(parameter.substr(2)), 0);
        }
      }
    }
    const std::string coding = Lower(TrimBlanks(item));
    int* slot = coding == "br"                           ? &weights.brotli
                : coding == "gzip" || coding == "x-gzip" ? &weights.gzip
                : coding == "identity"                   ? &weights.identity
                : coding == "*"                          ? &weights.any
                                                         : nullptr;
    if (slot != nullptr) *slot = std::max(*slot, weight);
  }
  return weights;
}

}  // namespace

ContentCoding ChooseContentCoding(std::optional<std::string_view> accept_encoding, bool brotli,
                                  bool gzip) {
  if (!accept_encoding) return ContentCoding::kIdentity;
  const Weights weights = ReadWeights(*accept_encoding);
  const auto weight_of = [&weights](int named) { return named >= 0 ? named : weights.any; };
  // Identity weighs what the client gives it or "*"; unnamed, it weighs least, as the client
  // that names only "gzip;q=0.5" still wants gzip.
  int best_weight = weights.identity >= 0 ? weights.identity : weights.any >= 0 ? weights.any : 1;
  ContentCoding best = ContentCoding::kIdentity;
  if (gzip && weight_of(weights.gzip) > 0 && weight_of(weights.gzip) >= best_weight) {
    best = ContentCoding::kGzip;
    best_weight = weight_of(weights.gzip);
  }
  if (brotli && weight_of(weights.brotli) > 0 && weight_of(weights.brotli) >= best_weight)
    best = ContentCoding::kBrotli;
  return best;
}

const char* ContentCodingName(ContentCoding coding) {
  switch (coding) {
    case ContentCoding::kGzip:
      return "gzip";
    case ContentCoding::kBrotli:
      return "br";
    case ContentCoding::kIdentity:
      break;
  }
  return "identity";
}

const char* ContentCodingSuffix(ContentCoding coding) {
  switch (coding) {
    case ContentCoding::kGzip:
      return ".gz";
    case ContentCoding::kBrotli:
      return ".br";
    case ContentCoding::kIdentity:
      break;
  }
  return "";
}

}  // namespace publish
