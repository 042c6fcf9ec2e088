// The settings file "reelwright.ini" in the program folder: the state of "Disable 'I' Button",
// the three external locations and the encoding presets. It is read once at start-up and
// rewritten as a whole on a confirmed exit.
#pragma once

#include <QString>

#include "store/external_url_option.h"
#include "store/preset_list.h"

namespace store {

inline constexpr char kSettingsFileName[] = "reelwright.ini";

QString SettingsFilePath(const QString& program_folder);

struct StoredSettings {
  bool disable_i_button = true;
  store::ExternalUrlOption players_url{store::kPlayersUrlKey};
  store::ExternalUrlOption videos_url{store::kVideosUrlKey};
  store::ExternalUrlOption js_url{store::kJsUrlKey};
  PresetList presets;
  // Whether publishing also writes an MP4 twin of the video for browsers that cannot play the
  // player; kept in a section of its own after the classic ones.
  bool publish_mp4 = true;
  // False when the file was larger than ProfileFile::kMaxBytes and only its start was read:
  // what follows (presets too) is unknown, so such a file must never be replaced.
  bool read_whole = true;
};

// What start-up reads. Missing files, sections and keys give the defaults: "Disable 'I' Button"
// checked unless DisableIButton holds a value other than 1, the default URLs, no presets. The
// three options come back switched off whatever "Enabled" says: only their URLs carry over.
StoredSettings ReadSettings(const ProfileFile& profile);
StoredSettings ReadSettingsFile(const QString& path);

// What exit writes: a complete new file holding exactly Autosave (DisableIButton), PLAYERSURL,
// VIDEOSURL, JSURL (each Enabled, URL), Option0, Option1, ... in list order, and MP4Twin
// (Publish), which replaces
// the old file once it is complete; sections added by hand are gone. False when the file
// cannot be written (the old one then stays as it was); the program says nothing.
ProfileFile SettingsProfile(const StoredSettings& settings);
bool WriteSettingsFile(const QString& path, const StoredSettings& settings);

}  // namespace store
