// Any bytes as a settings file: reading must not crash or hang, start-up's reading must work,
// and a written value must read back by the profile rules.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "store/profile_file.h"
#include "store/settings_file.h"

namespace {

void Check(bool condition, const char* what) {
  if (!condition) {
    fprintf(stderr, "broken: %s\n", what);
    abort();
  }
}

// What a read gives for a written value: line breaks became blanks, then trimmed, then one
// pair of matching quotes goes.
QString AsRead(QString value) {
  value.replace(u'\r', u' ');
  value.replace(u'\n', u' ');
  value = value.trimmed();
  if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
      value.back() == value.front()) {
    value = value.mid(1, value.size() - 2);
  }
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  store::ProfileFile profile = store::ProfileFile::FromBytes(bytes);

  const store::StoredSettings settings = store::ReadSettings(profile);
  Check(!settings.players_url.enabled() && !settings.videos_url.enabled() &&
            !settings.js_url.enabled(),
        "external locations start off");
  for (const store::EncodingPreset& preset : settings.presets) {
    Check(!preset.name.isEmpty() && preset.name.size() <= 249, "preset name length");
  }
  Check(settings.js_url.url().size() <= 259, "URL length");

  // Serialising is stable: what was written once reads and writes back the same.
  const QByteArray written = profile.ToBytes();
  Check(store::ProfileFile::FromBytes(written).ToBytes() == written, "stable serialisation");

  // A value taken from the input, written into a known key and into a new section.
  const QString value = QString::fromUtf8(bytes.left(300));
  profile.WriteString("Autosave", "DisableIButton", value);
  profile.WriteString("Fuzz Section", "Fuzz Key", value);
  const store::ProfileFile reread = store::ProfileFile::FromBytes(profile.ToBytes());
  Check(reread.ReadString("AUTOSAVE", "disableibutton", "<none>", 1 << 20) == AsRead(value),
        "written value reads back");
  Check(reread.ReadString("fuzz section", "FUZZ KEY", "<none>", 1 << 20) == AsRead(value),
        "new section reads back");
  Check(reread.ReadString("Fuzz Section", "Fuzz Key", "", 260).size() <= 259, "buffer size");
  return 0;
}
