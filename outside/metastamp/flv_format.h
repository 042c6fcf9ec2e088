// The numbers of the FLV container: header, tag layout, tag types and codec ids.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace metastamp {

inline constexpr size_t kFileHeaderSize = 9;    // "FLV", version, flags, header size
inline constexpr size_t kTagHeaderSize = 11;    // type, body size, timestamp, stream id
inline constexpr size_t kTagSizeFieldSize = 4;  // the size of the previous tag, after every tag
inline constexpr uint32_t kMaxTagBodySize = 0xFFFFFF;

inline constexpr uint8_t kHeaderFlagAudio = 0x04;
inline constexpr uint8_t kHeaderFlagVideo = 0x01;

enum TagType : uint8_t { kTagAudio = 8, kTagVideo = 9, kTagScript = 18 };

enum VideoFrameType : uint8_t {
  kFrameKey = 1,
  kFrameInter = 2,
  kFrameDisposable = 3,
  kFrameGeneratedKey = 4,
  kFrameCommand = 5,  // a command or info frame: no picture
};

enum VideoCodec : uint8_t {
  kCodecSorensonH263 = 2,
  kCodecScreenVideo = 3,
  kCodecVp6 = 4,
  kCodecVp6Alpha = 5,
  kCodecScreenVideo2 = 6,
  kCodecAvc = 7,
};

enum AvcPacketType : uint8_t { kAvcSequenceHeader = 0, kAvcNalu = 1, kAvcEndOfSequence = 2 };

enum SoundFormat : uint8_t {
  kSoundMp3 = 2,
  kSoundNellymoser16kMono = 4,
  kSoundNellymoser8kMono = 5,
  kSoundAac = 10,
  kSoundSpeex = 11,
  kSoundMp3At8k = 14,
};

enum AacPacketType : uint8_t { kAacSequenceHeader = 0, kAacRaw = 1 };

inline uint32_t ReadU16(std::span<const uint8_t> b) {
  return (uint32_t{b[0]} << 8) | b[1];
}
inline uint32_t ReadU24(std::span<const uint8_t> b) {
  return (uint32_t{b[0]} << 16) | (uint32_t{b[1]} << 8) | b[2];
}
inline uint32_t ReadU32(std::span<const uint8_t> b) {
  return (ReadU24(b) << 8) | b[3];
}

inline void PutU24(uint8_t* out, uint32_t value) {
  out[0] = static_cast<uint8_t>(value >> 16);
  out[1] = static_cast<uint8_t>(value >> 8);
  out[2] = static_cast<uint8_t>(value);
}
inline void PutU32(uint8_t* out, uint32_t value) {
  out[0] = static_cast<uint8_t>(value >> 24);
  PutU24(out + 1, value);
}

}  // namespace metastamp
