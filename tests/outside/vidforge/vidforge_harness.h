// Runs the built encoder and looks at what it made: clips made with the ffmpeg command line,
// results read back with ffprobe and flvmeta.
#pragma once

#include <gtest/gtest.h>

#include <QProcess>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <ostream>
#include <vector>

// Failure messages show texts and file lists as text.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace vidforge_test {

struct RunResult {
  bool finished = false;  // within the deadline
  int exit_code = -1;
  QString error_output;
};

// Starts resources/vidforge of the program folder with `arguments` in `working_folder`.
void StartVidforge(QProcess& process, const QStringList& arguments, const QString& working_folder);

// Runs resources/vidforge of the program folder with `arguments` in `working_folder`;
// `child_setup` runs in the child before the encoder starts (limits, for example).
RunResult RunVidforge(const QStringList& arguments, const QString& working_folder,
                      const std::function<void()>& child_setup = {});

// Writes `path` with `ffmpeg -y <arguments> path`; fails the calling test when ffmpeg fails.
void MakeClip(const QString& path, const QStringList& arguments);

// A test clip source of `seconds` at width x height, 25 frames a second, with a 440 Hz tone
// when `with_sound`, as ffmpeg input arguments.
QStringList TestPattern(int width, int height, double seconds, bool with_sound);

bool FfmpegHasEncoder(const QString& name);

struct VideoStream {
  QString codec;
  int width = 0;
  int height = 0;
  double frame_rate = 0;
};
struct AudioStream {
  QString codec;
  int sample_rate = 0;
  int channels = 0;
};
struct MediaInfo {
  std::optional<VideoStream> video;
  std::optional<AudioStream> audio;
  double duration = 0;
};
MediaInfo Probe(const QString& path);

// Presentation times of the video key frames, in seconds.
std::vector<double> KeyframeTimes(const QString& path);
// The largest distance between neighbouring key frames, or between the last one and the end.
double LongestKeyframeGap(const QString& path);

// flvmeta's verdict: true when it finds no errors (warnings about data rates are fine).
bool FlvmetaFindsNoErrors(const QString& path, QString* report = nullptr);

// Names in `folder`, hidden ones included.
QStringList EntriesOf(const QString& folder);

// Size of the file `stat` in `folder`, or -1 when there is none.
qint64 ProgressFileSize(const QString& folder);

// Names each case of a table-driven test after the `name` of its row.
struct CaseName {
  template <typename Case>
  std::string operator()(const testing::TestParamInfo<Case>& info) const {
    return info.param.name;
  }
};

}  // namespace vidforge_test
