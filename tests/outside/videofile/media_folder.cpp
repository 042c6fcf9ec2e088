#include "media_folder.h"

#include <QFile>

#include "media_tools.h"

namespace videofile_test {

std::string MediaFolder::Make(const QString& name, const QStringList& arguments) const {
  const QString path = folder_.filePath(name);
  return RunFfmpeg(arguments + QStringList{path}) ? path.toStdString() : std::string();
}

std::string MediaFolder::Write(const QString& name, const QByteArray& bytes) const {
  QFile file(folder_.filePath(name));
  if (file.open(QIODevice::WriteOnly)) file.write(bytes);
  return file.fileName().toStdString();
}

}  // namespace videofile_test
