// A named set of the seven encoding values of the encoding page. The values are row numbers of
// the encoding lists (or 0/1 for the audio switch and mono), not the numbers the rows show.
#pragma once

#include <QString>
#include <cstdint>

namespace store {

class ProfileFile;

struct EncodingPreset {
  // A name holds at most this many characters (the settings file's name buffer).
  static constexpr qsizetype kMaxNameLength = 249;

  QString name = "Custom new";
  int32_t resolution = 1;     // "160x120"
  int32_t frame_rate = 3;     // "6"
  int32_t video_bitrate = 0;  // "24"
  int32_t enabled_audio = 1;
  int32_t audio_bitrate = 3;  // "32"
  int32_t sampling_rate = 0;  // "11,025"
  int32_t mono = 1;

  // Reads the preset of `section`. A missing or empty name reads nothing and gives false; a
  // missing number key gives 0.
  bool ReadPreset(const QString& section, const ProfileFile& profile);
  // Writes "name" and the seven numbers, in that order, into `section`.
  void WritePreset(const QString& section, ProfileFile& profile) const;

  friend bool operator==(const EncodingPreset&, const EncodingPreset&) = default;
};

}  // namespace store
