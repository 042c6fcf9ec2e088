#include "encode/encoding_lists.h"

namespace encode {

const QStringList& ResolutionRows() {
  static const QStringList kRows = {"Original", "160x120", "240x180", "320x240",
                                    "400x300",  "480x360", "512x384", "640x480",
                                    "720x576",  "768x576", "800x600"};
  return kRows;
}

const QStringList& FrameRateRows() {
  static const QStringList kRows = {"Original", "1",    "5",  "6",  "7.5", "8",  "10",
                                    "12",       "12.5", "15", "20", "24",  "25", "30"};
  return kRows;
}

const QStringList& VideoBitrateRows() {
  static const QStringList kRows = {"24",  "48",  "96",  "128",  "160",
                                    "256", "360", "768", "1000", "1600"};
  return kRows;
}

const QStringList& AudioBitrateRows() {
  static const QStringList kRows = {"16", "20", "24",  "32",  "48", "56",
                                    "64", "80", "112", "128", "160"};
  return kRows;
}

const QStringList& SamplingRateRows() {
  static const QStringList kRows = {"11,025", "22,050", "44,100"};
  return kRows;
}

const QStringList& BufferSizeRows() {
  static const QStringList kRows = {"2", "5", "7", "10", "15", "20", "30", "45", "60"};
  return kRows;
}

QString RowText(const QStringList& rows, int row) {
  return row >= 0 && row < rows.size() ? rows[row] : QString();
}

}  // namespace encode
