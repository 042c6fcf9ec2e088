#include "store/affiliate_file.h"

#include <QDir>
#include <QFile>

#include "store/atomic_file.h"
#include "store/regular_file.h"
#include "store/value_text.h"

namespace store {

QString AffiliateFilePath(const QString& program_folder) {
  return program_folder + QDir::separator() + kAffiliateFileName;
}

QString ReadAffiliateId(const QString& path) {
  QFile file;
  if (!OpenRegularFileForReading(file, path)) return {};
  // Enough bytes for 498 characters of UTF-8 and the line end; the rest is never looked at.
  QByteArray line = file.read(kMaxAffiliateIdLength * 4 + 2);
  const qsizetype line_feed = line.indexOf('\n');
  if (line_feed >= 0) {
    line.truncate(line_feed);
    if (line.endsWith('\r')) line.chop(1);
  }
  return CutToLength(QString::fromUtf8(line), kMaxAffiliateIdLength);
}

bool WriteAffiliateId(const QString& path, const QString& affiliate_id) {
  return ReplaceFileContents(path, affiliate_id.toUtf8());
}

}  // namespace store
