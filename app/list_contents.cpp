#include "app/list_contents.h"

#include "res/resource.h"

const QList<ListContents>& MainWindowLists() {
  static const QList<ListContents> kLists = {
      {IDC_RESOLUTION,
       {"Original", "160x120", "240x180", "320x240", "400x300", "480x360", "512x384", "640x480",
        "720x576", "768x576", "800x600"},
       1},
      {IDC_FRAME_RATE,
       {"Original", "1", "5", "6", "7.5", "8", "10", "12", "12.5", "15", "20", "24", "25", "30"},
       3},
      {IDC_VIDEO_BITRATE, {"24", "48", "96", "128", "160", "256", "360", "768", "1000", "1600"}, 0},
      {IDC_AUDIO_BITRATE, {"16", "20", "24", "32", "48", "56", "64", "80", "112", "128", "160"}, 3},
      {IDC_SAMPLING_RATE, {"11,025", "22,050", "44,100"}, 0},
      {IDC_BUFFER_SIZE, {"2", "5", "7", "10", "15", "20", "30", "45", "60"}, 1},
  };
  return kLists;
}
