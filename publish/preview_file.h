// Which files of the served folder the preview server hands out, and opening one. It serves
// the page and what lies beside it to the user's own browser, and nothing a user of the machine
// could not read anyway: every local user can connect to 127.0.0.1.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <string>

#include "publish/file_descriptor.h"

namespace publish {

// The file under `root` that a request's (already percent-decoded) path names, or an empty
// text when the path names nothing servable: not a plain file, outside the folder (also
// through a symbolic link), a dotfile or inside a dot folder (also through a link), or spelled
// with "\", empty parts, a NUL or bytes that are not UTF-8.
QString ResolvePreviewPath(const QString& root, const std::string& request_path);

struct PreviewFile {
  FileDescriptor fd;
  uint64_t size = 0;
  // What tells one version of the file from another.
  uint64_t inode = 0;
  int64_t modified_ns = 0;  // since 1970
};

// Opens `path` (as ResolvePreviewPath gives it) for serving, without ever waiting: nothing when
// it is not, by the time it is opened, a plain file that other users may read.
std::optional<PreviewFile> OpenPreviewFile(const QString& path);

}  // namespace publish
