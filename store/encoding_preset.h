// A named set of the seven encoding values; the values are rows of the encoding lists
// (or 0/1 flags), not the numbers shown.
#pragma once

#include <QString>
#include <cstdint>

struct EncodingPreset {
  QString name = QStringLiteral("Custom new");
  int32_t resolution = 1;     // "160x120"
  int32_t frame_rate = 3;     // "6"
  int32_t video_bitrate = 0;  // "24"
  int32_t enabled_audio = 1;
  int32_t audio_bitrate = 3;  // "32"
  int32_t sampling_rate = 0;  // "11,025"
  int32_t mono = 1;
};
