// Which compressed form of a file a client gets, from what its Accept-Encoding allows and what
// the server has at hand for that file.
#pragma once

#include <optional>
#include <string_view>

namespace publish {

enum class ContentCoding { kIdentity, kGzip, kBrotli };

// The coding to send: of those offered (identity always is), the one the client weighs highest
// above q=0; on equal weights brotli, then gzip, then identity, the smallest first. Identity when
// the client takes none of the others, also when it refuses identity too: a whole plain answer
// is more use than a refusal. "*" weighs every coding the header does not name; "x-gzip" is
// gzip. Without the header, identity.
ContentCoding ChooseContentCoding(std::optional<std::string_view> accept_encoding, bool brotli,
                                  bool gzip);

// The Content-Encoding name of `coding`, and the suffix of its precompressed copy (".br").
const char* ContentCodingName(ContentCoding coding);
const char* ContentCodingSuffix(ContentCoding coding);

}  // namespace publish
