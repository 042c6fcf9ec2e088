// Which page a published folder's own address shows: the preview opens it, and `--serve` prints
// its address.
#pragma once

#include <QString>

namespace publish {

// The name of the folder's page: "index.html" when there is one, else its only ".htm" or
// ".html" file (in any letter case). Empty when there is no such page, or more than one and no
// index. Dotfiles are never the page.
QString PreviewPageName(const QString& folder);

}  // namespace publish
