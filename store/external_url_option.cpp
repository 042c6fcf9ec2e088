#include "store/external_url_option.h"

#include "store/profile_file.h"

namespace store {

namespace {
constexpr int kUrlBufferSize = 260;
}

void ExternalUrlOption::ReadUrlOption(const QString& default_url, const ProfileFile& profile) {
  enabled_ = profile.ReadInt(key_, "Enabled", 0) == 1;
  url_ = profile.ReadString(key_, "URL", default_url, kUrlBufferSize);
}

void ExternalUrlOption::WriteUrlOption(ProfileFile& profile) const {
  profile.WriteString(key_, "Enabled", enabled_ ? "1" : "0");
  profile.WriteString(key_, "URL", url_);
}

void ExternalUrlOption::ParseUrlOptionLine(const QString& line) {
  const qsizetype equals = line.indexOf(u'=');
  const qsizetype comma = line.indexOf(u',');
  if (equals <= 0 || comma <= 0 || comma < equals) return;
  enabled_ = line.mid(equals + 1, comma - equals - 1).trimmed() == u"1";
  url_ = line.mid(comma + 1).trimmed();
}

}  // namespace store
