// What the first byte of an FLV audio tag says about the sound, and for AAC, which announces a
// fixed 44 kHz stereo there, the true rate and channels from its AudioSpecificConfig.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace metastamp {

struct AudioFormat {
  uint8_t codec = 0;  // SoundFormat
  uint32_t sample_rate = 0;
  uint32_t sample_bits = 0;
  bool stereo = false;
  friend bool operator==(const AudioFormat&, const AudioFormat&) = default;
};

// From the body of an audio tag (at least one byte).
AudioFormat AudioFormatOfTag(std::span<const uint8_t> body);

// When `body` is an AAC sequence header with a readable AudioSpecificConfig, its rate and
// channels; nothing otherwise.
struct AacConfig {
  uint32_t sample_rate = 0;
  bool stereo = false;
};
std::optional<AacConfig> AacConfigOfTag(std::span<const uint8_t> body);

}  // namespace metastamp
