// The part of a file a Range header asks for. Players seek in a video by asking for the bytes
// from a point on; one range per answer is all they need, and all the server gives.
#pragma once

#include <cstdint>
#include <string_view>

namespace publish {

struct ByteRange {
  enum Kind {
    kWhole,          // no usable range: the whole file, 200
    kPart,           // bytes first..last (inclusive), 206
    kUnsatisfiable,  // the range starts at or past the end, 416
  };
  Kind kind = kWhole;
  uint64_t first = 0;
  uint64_t last = 0;
};

// The range `header` (a Range header's value) asks of a file of `size` bytes. A single
// "bytes=A-B", "bytes=A-" or "bytes=-N": a range running past the end is cut at the end, one
// starting at or past it is unsatisfiable, as is "-0". Anything else — several ranges, another
// unit, B before A, a malformed header — is ignored, and the whole file is answered.
ByteRange ParseByteRange(std::string_view header, uint64_t size);

}  // namespace publish
