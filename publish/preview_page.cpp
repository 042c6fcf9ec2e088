#include "publish/preview_page.h"

#include <QDir>
#include <QFileInfo>

namespace publish {

QString PreviewPageName(const QString& folder) {
  if (folder.isEmpty()) return {};
  const QDir dir(folder);
  if (QFileInfo(dir.filePath("index.html")).isFile()) return "index.html";
  // Without QDir::Hidden dotfiles are left out; the name filters ignore letter case.
  const QStringList pages = dir.entryList({"*.htm", "*.html"}, QDir::Files, QDir::Name);
  return pages.size() == 1 ? pages.front() : QString();
}

}  // namespace publish
