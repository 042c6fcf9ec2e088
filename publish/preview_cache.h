// What lets a browser keep what the preview server sent and ask again cheaply: the validators
// of an answer, the check of a conditional request against them, and how long an answer stays
// fresh.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "publish/content_coding.h"
#include "publish/preview_file.h"

namespace publish {

// A strong entity tag for `file` sent with `coding`: from its inode, size and modification time
// in nanoseconds, so any change of the file changes it, and different for each coding. A
// precompressed `copy` adds its own.
std::string PreviewEntityTag(const PreviewFile& file, ContentCoding coding,
                             const PreviewFile* copy = nullptr);

// Whether an If-None-Match value names `tag` (compared weakly, as that header is) or is "*".
bool MatchesEntityTag(std::string_view if_none_match, std::string_view tag);

// Whether an If-Modified-Since value is a date not before `modified` (seconds since 1970): what
// the client holds is still current. A value that is no date never matches.
bool UnmodifiedSince(std::string_view if_modified_since, int64_t modified);

// The Cache-Control of a file by its name. The runtime's core files carry a hash of their
// content in their names ("core.ruffle.<hash>.js", "<hash>.wasm"): a new runtime has new names,
// so those may be kept a year without asking. Anything else (the page, the video, the player,
// the runtime's loader "ruffle.js") may change under the same name and is asked about each time.
const char* PreviewCacheControl(const QString& file_name);

}  // namespace publish
