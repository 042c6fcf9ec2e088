#include "store/encoding_preset.h"

#include <array>
#include <utility>

#include "store/profile_file.h"

namespace store {

namespace {

constexpr int kNameBufferSize = EncodingPreset::kMaxNameLength + 1;

// The number keys in the order the settings file holds them.
constexpr std::array<std::pair<const char*, int32_t EncodingPreset::*>, 7> kNumberKeys{{
    {"resolution", &EncodingPreset::resolution},
    {"frame_rate", &EncodingPreset::frame_rate},
    {"video_bitrate", &EncodingPreset::video_bitrate},
    {"enabled_audio", &EncodingPreset::enabled_audio},
    {"audio_bitrate", &EncodingPreset::audio_bitrate},
    {"sampling_rate", &EncodingPreset::sampling_rate},
    {"mono", &EncodingPreset::mono},
}};

}  // namespace

bool EncodingPreset::ReadPreset(const QString& section, const ProfileFile& profile) {
  const QString read_name = profile.ReadString(section, "name", QString(), kNameBufferSize);
  if (read_name.isEmpty()) return false;
  name = read_name;
  for (const auto& [key, field] : kNumberKeys) this->*field = profile.ReadInt(section, key, 0);
  return true;
}

void EncodingPreset::WritePreset(const QString& section, ProfileFile& profile) const {
  profile.WriteString(section, "name", name);
  for (const auto& [key, field] : kNumberKeys) profile.WriteInt(section, key, this->*field);
}

}  // namespace store
