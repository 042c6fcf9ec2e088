#include "publish/preview_encoding.h"

#include <unistd.h>
#include <zlib.h>

#include <QFileInfo>

namespace publish {

bool IsCompressible(const QString& file_name) {
  static const char* const kSuffixes[] = {"wasm", "js",   "mjs", "html", "htm",
                                          "css",  "json", "svg", "txt",  "xml"};
  const QString suffix = QFileInfo(file_name).suffix().toLower();
  for (const char* known : kSuffixes)
    if (suffix == QLatin1String(known)) return true;
  return false;
}

std::optional<PreviewFile> OpenPrecompressed(const QString& root, const std::string& request_path,
                                             const PreviewFile& plain, ContentCoding coding) {
  if (coding == ContentCoding::kIdentity) return std::nullopt;
  const QString name = ResolvePreviewPath(root, request_path + ContentCodingSuffix(coding));
  if (name.isEmpty()) return std::nullopt;
  std::optional<PreviewFile> copy = OpenPreviewFile(name);
  if (!copy || copy->modified_ns < plain.modified_ns) return std::nullopt;
  return copy;
}

std::optional<std::string> GzipFile(const PreviewFile& file) {
  std::string plain(static_cast<size_t>(file.size), '\0');
  for (size_t done = 0; done < plain.size();) {
    const ssize_t got =
        ::pread(file.fd.get(), plain.data() + done, plain.size() - done, static_cast<off_t>(done));
    if (got <= 0) return std::nullopt;
    done += static_cast<size_t>(got);
  }
  z_stream stream{};
  // 16 added to the window bits asks for the gzip wrapper.
  if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) !=
      Z_OK)
    return std::nullopt;
  std::string packed(deflateBound(&stream, static_cast<uLong>(plain.size())), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(plain.data());
  stream.avail_in = static_cast<uInt>(plain.size());
  stream.next_out = reinterpret_cast<Bytef*>(packed.data());
  stream.avail_out = static_cast<uInt>(packed.size());
  const int result = deflate(&stream, Z_FINISH);
  packed.resize(stream.total_out);
  deflateEnd(&stream);
  if (result != Z_STREAM_END) return std::nullopt;
  return packed;
}

}  // namespace publish
