// One of the three external locations of the Advanced Options: a switch with a URL text, kept
// in the settings file under its key as section name, and in project files on a line that
// holds its key.
#pragma once

#include <QString>
#include <utility>

namespace store {

class ProfileFile;

inline constexpr char kPlayersUrlKey[] = "PLAYERSURL";
inline constexpr char kVideosUrlKey[] = "VIDEOSURL";
inline constexpr char kJsUrlKey[] = "JSURL";

// The URLs an option has when the settings file holds none. The host is a placeholder;
// "vidoes" is spelled as the settings files in use have it.
inline constexpr char kDefaultPlayersUrl[] = "http://www.example.com/players/";
inline constexpr char kDefaultVideosUrl[] = "http://www.example.com/vidoes/";
inline constexpr char kDefaultJsUrl[] = "reelcode.js";

class ExternalUrlOption {
 public:
  // `key` is fixed for the option's life: "PLAYERSURL", "VIDEOSURL" or "JSURL".
  explicit ExternalUrlOption(QString key) : key_(std::move(key)) {}

  bool enabled() const { return enabled_; }
  const QString& key() const { return key_; }
  QString url() const { return url_; }
  void Set(bool enabled, const QString& url) {
    enabled_ = enabled;
    url_ = url;
  }

  // Reads the section named by the key: "Enabled" (integer, default 0, only 1 switches the
  // option on) and "URL" (at most 259 characters, `default_url` when missing).
  void ReadUrlOption(const QString& default_url, const ProfileFile& profile);
  // Writes "Enabled" ("1" or "0"), then "URL", into the section named by the key.
  void WriteUrlOption(ProfileFile& profile) const;
  // Every start begins with the option off, whatever the settings file says; the URL stays.
  void SwitchOffAfterRead() { enabled_ = false; }

  // A project file line "KEY=flag,url": only when the line has an "=" and a "," after it,
  // neither as its first character, the flag is set (on when the trimmed text between them is
  // exactly "1") and the URL becomes the trimmed text after the ",". Otherwise nothing changes.
  void ParseUrlOptionLine(const QString& line);

  friend bool operator==(const ExternalUrlOption&, const ExternalUrlOption&) = default;

 private:
  bool enabled_ = false;
  QString key_;
  QString url_;
};

}  // namespace store
