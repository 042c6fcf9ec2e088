// The compressed forms of a file the preview server can send: a copy compressed once and kept
// beside it ("X.br", "X.gz"; the build writes them for the web runtime, and publishing copies
// them beside the page), or, for a small file without one, gzip made as it is sent.
#pragma once

#include <QString>
#include <optional>
#include <string>

#include "publish/content_coding.h"
#include "publish/preview_file.h"

namespace publish {

// Files at least this large and smaller than this are gzipped as they are sent when they have
// no gzipped copy: below, the coding's overhead eats the gain; above, a copy made once is the
// better way.
inline constexpr uint64_t kMinGzipOnTheFly = 256;
inline constexpr uint64_t kMaxGzipOnTheFly = uint64_t(1) << 20;

// Whether a file of this name is worth compressing: text and WebAssembly, not pictures or video,
// which are compressed already.
bool IsCompressible(const QString& file_name);

// The copy of the file a request names (`request_path`, as for ResolvePreviewPath), compressed
// with `coding`, opened for serving in place of `plain`: only when it passes every check the
// file itself passed (inside the folder, no dotfile, a plain file others may read, opened
// without waiting) and is not older than `plain`, which a copy made from an older version
// would be.
std::optional<PreviewFile> OpenPrecompressed(const QString& root, const std::string& request_path,
                                             const PreviewFile& plain, ContentCoding coding);

// `file`'s bytes gzipped, or nothing when they could not all be read.
std::optional<std::string> GzipFile(const PreviewFile& file);

}  // namespace publish
