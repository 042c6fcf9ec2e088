// The controls that belong to the encoding page: shown with the page, and switched on when
// there is a video to encode.
#pragma once

#include <span>

#include "res/resource.h"

inline std::span<const int> EncodingPageControls() {
  static constexpr int kControls[] = {IDC_LABEL_SAMPLING_RATE,
                                      IDC_LABEL_RESOLUTION,
                                      IDC_LABEL_PRESET,
                                      IDC_LABEL_FRAME_RATE,
                                      IDC_LABEL_VIDEO_BITRATE,
                                      IDC_LABEL_AUDIO_BITRATE,
                                      IDC_AUDIO_BITRATE,
                                      IDC_SAMPLING_RATE,
                                      IDC_RESOLUTION,
                                      IDC_PRESET,
                                      IDC_FRAME_RATE,
                                      IDC_VIDEO_BITRATE,
                                      IDC_ENABLE_AUDIO,
                                      IDC_MONO,
                                      IDC_STEREO,
                                      IDC_START_ENCODING,
                                      IDC_DELETE_PRESET,
                                      IDC_ADD_PRESET,
                                      IDC_ENCODING_PROGRESS};
  return kControls;
}
