// The content type the preview server sends with a file.
#pragma once

#include <QString>

namespace publish {

// The content type served for a file name, by its extension (in any letter case);
// "application/octet-stream" for one it does not know.
const char* PreviewContentType(const QString& file_name);

}  // namespace publish
