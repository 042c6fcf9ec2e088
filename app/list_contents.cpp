#include "app/list_contents.h"

#include "encode/encoding_lists.h"
#include "res/resource.h"

const QList<ListContents>& MainWindowLists() {
  static const QList<ListContents> kLists = {
      {IDC_RESOLUTION, encode::ResolutionRows(), 1},
      {IDC_FRAME_RATE, encode::FrameRateRows(), 3},
      {IDC_VIDEO_BITRATE, encode::VideoBitrateRows(), 0},
      {IDC_AUDIO_BITRATE, encode::AudioBitrateRows(), 3},
      {IDC_SAMPLING_RATE, encode::SamplingRateRows(), 0},
      {IDC_BUFFER_SIZE, encode::BufferSizeRows(), 1},
  };
  return kLists;
}
