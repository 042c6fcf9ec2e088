#include "store/settings_file.h"

#include <QDir>

#include "store/profile_file.h"

namespace store {

namespace {
constexpr char kAutosaveSection[] = "Autosave";
constexpr char kDisableIButtonKey[] = "DisableIButton";
constexpr char kMp4TwinSection[] = "MP4Twin";
constexpr char kPublishKey[] = "Publish";
}  // namespace

QString SettingsFilePath(const QString& program_folder) {
  return program_folder + QDir::separator() + kSettingsFileName;
}

StoredSettings ReadSettings(const ProfileFile& profile) {
  StoredSettings settings;
  settings.players_url.ReadUrlOption(store::kDefaultPlayersUrl, profile);
  settings.videos_url.ReadUrlOption(store::kDefaultVideosUrl, profile);
  settings.js_url.ReadUrlOption(store::kDefaultJsUrl, profile);
  settings.players_url.SwitchOffAfterRead();
  settings.videos_url.SwitchOffAfterRead();
  settings.js_url.SwitchOffAfterRead();
  settings.disable_i_button = profile.ReadInt(kAutosaveSection, kDisableIButtonKey, 1) == 1;
  settings.presets = ReadPresets(profile);
  settings.publish_mp4 = profile.ReadInt(kMp4TwinSection, kPublishKey, 1) != 0;
  settings.read_whole = profile.complete();
  return settings;
}

StoredSettings ReadSettingsFile(const QString& path) {
  return ReadSettings(ProfileFile::Load(path));
}

ProfileFile SettingsProfile(const StoredSettings& settings) {
  ProfileFile profile;
  profile.WriteString(kAutosaveSection, kDisableIButtonKey, settings.disable_i_button ? "1" : "0");
  settings.players_url.WriteUrlOption(profile);
  settings.videos_url.WriteUrlOption(profile);
  settings.js_url.WriteUrlOption(profile);
  WritePresets(settings.presets, profile);
  profile.WriteString(kMp4TwinSection, kPublishKey, settings.publish_mp4 ? "1" : "0");
  return profile;
}

bool WriteSettingsFile(const QString& path, const StoredSettings& settings) {
  return SettingsProfile(settings).Save(path);
}

}  // namespace store
