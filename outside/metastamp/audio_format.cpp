#include "outside/metastamp/audio_format.h"

#include <iterator>

#include "outside/metastamp/bit_reader.h"
#include "outside/metastamp/flv_format.h"

namespace metastamp {

namespace {
constexpr uint32_t kAacRates[] = {96000, 88200, 64000, 48000, 44100, 32000, 24000,
                                  22050, 16000, 12000, 11025, 8000,  7350};
constexpr uint32_t kExplicitRate = 15;
constexpr uint32_t kEscapedObjectType = 31;
}  // namespace

AudioFormat AudioFormatOfTag(std::span<const uint8_t> body) {
  const uint8_t flags = body[0];
  AudioFormat format;
  format.codec = flags >> 4;
  format.sample_rate = 44100u >> (3 - ((flags >> 2) & 0x03));  // 5512, 11025, 22050, 44100
  format.sample_bits = (flags & 0x02) ? 16 : 8;
  format.stereo = (flags & 0x01) != 0;
  // Some formats have one rate, whatever the flags say.
  switch (format.codec) {
    case kSoundNellymoser16kMono:
    case kSoundSpeex:
      format.sample_rate = 16000;
      break;
    case kSoundNellymoser8kMono:
    case kSoundMp3At8k:
      format.sample_rate = 8000;
      break;
    default:
      break;
  }
  return format;
}

std::optional<AacConfig> AacConfigOfTag(std::span<const uint8_t> body) {
  if (body.size() < 4 || (body[0] >> 4) != kSoundAac || body[1] != kAacSequenceHeader) {
    return std::nullopt;
  }
  BitReader bits(body.subspan(2));
  if (bits.Bits(5) == kEscapedObjectType) bits.Skip(6);
  const uint32_t rate_index = bits.Bits(4);
  uint32_t rate = 0;
  if (rate_index == kExplicitRate) {
    rate = bits.Bits(24);
  } else if (rate_index < std::size(kAacRates)) {
    rate = kAacRates[rate_index];
  }
  const uint32_t channels = bits.Bits(4);
  if (!bits.ok() || rate == 0) return std::nullopt;
  // Configuration 0 leaves the channels to the stream itself; keep what the flags say then.
  return AacConfig{rate, channels == 0 ? (body[0] & 0x01) != 0 : channels >= 2};
}

}  // namespace metastamp
