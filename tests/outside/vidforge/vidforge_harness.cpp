#include "vidforge_harness.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <algorithm>

namespace vidforge_test {
namespace {

// Every clip here takes well under a second; a run still going after this has hung.
constexpr int kDeadlineMs = 30000;

QString RunTool(const QString& program, const QStringList& arguments, int* exit_code = nullptr) {
  QProcess process;
  process.start(program, arguments);
  const bool finished = process.waitForFinished(kDeadlineMs);
  if (!finished) process.kill();
  if (exit_code) *exit_code = finished ? process.exitCode() : -1;
  return QString::fromUtf8(process.readAllStandardOutput());
}

}  // namespace

void StartVidforge(QProcess& process, const QStringList& arguments, const QString& working_folder) {
  process.setWorkingDirectory(working_folder);
  process.start(QStringLiteral(REELWRIGHT_PROGRAM_DIR "/resources/vidforge"), arguments);
}

RunResult RunVidforge(const QStringList& arguments, const QString& working_folder,
                      const std::function<void()>& child_setup) {
  QProcess process;
  if (child_setup) process.setChildProcessModifier(child_setup);
  StartVidforge(process, arguments, working_folder);
  RunResult result;
  result.finished = process.waitForFinished(kDeadlineMs);
  if (!result.finished) {
    process.kill();
    process.waitForFinished();
  }
  result.exit_code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  result.error_output = QString::fromUtf8(process.readAllStandardError());
  return result;
}

void MakeClip(const QString& path, const QStringList& arguments) {
  QProcess process;
  process.start("ffmpeg", QStringList{"-hide_banner", "-loglevel", "error", "-y"} + arguments +
                              QStringList{"file:" + path});
  ASSERT_TRUE(process.waitForFinished(kDeadlineMs)) << "ffmpeg hangs making " << path.toStdString();
  ASSERT_EQ(process.exitCode(), 0) << "ffmpeg cannot make " << path.toStdString() << ": "
                                   << process.readAllStandardError().toStdString();
}

QStringList TestPattern(int width, int height, double seconds, bool with_sound) {
  // testsrc is RGB, so odd sizes stay odd.
  QStringList arguments{
      "-f", "lavfi", "-i",
      QString("testsrc=size=%1x%2:rate=25:duration=%3").arg(width).arg(height).arg(seconds)};
  if (with_sound)
    arguments +=
        QStringList{"-f", "lavfi", "-i", QString("sine=frequency=440:duration=%1").arg(seconds)};
  return arguments;
}

bool FfmpegHasEncoder(const QString& name) {
  const QString list = RunTool("ffmpeg", {"-hide_banner", "-encoders"});
  return list.contains(QRegularExpression("\\s" + QRegularExpression::escape(name) + "\\s"));
}

MediaInfo Probe(const QString& path) {
  const QString json = RunTool(
      "ffprobe", {"-v", "error", "-show_entries",
                  "stream=codec_type,codec_name,width,height,r_frame_rate,sample_rate,channels:"
                  "format=duration",
                  "-of", "json", "file:" + path});
  const QJsonObject root = QJsonDocument::fromJson(json.toUtf8()).object();
  MediaInfo info;
  info.duration = root["format"].toObject()["duration"].toString().toDouble();
  for (const QJsonValue& value : root["streams"].toArray()) {
    const QJsonObject stream = value.toObject();
    if (stream["codec_type"].toString() == "video") {
      const QStringList rate = stream["r_frame_rate"].toString().split('/');
      const double num = rate.value(0).toDouble();
      const double den = rate.value(1).toDouble();
      info.video = VideoStream{stream["codec_name"].toString(), stream["width"].toInt(),
                               stream["height"].toInt(), den > 0 ? num / den : 0};
    } else if (stream["codec_type"].toString() == "audio") {
      info.audio =
          AudioStream{stream["codec_name"].toString(), stream["sample_rate"].toString().toInt(),
                      stream["channels"].toInt()};
    }
  }
  return info;
}

namespace {

struct VideoPacket {
  double time;
  bool key;
};

std::vector<VideoPacket> VideoPackets(const QString& path) {
  const QString csv =
      RunTool("ffprobe", {"-v", "error", "-select_streams", "v", "-show_entries",
                          "packet=pts_time,flags", "-of", "csv=p=0", "file:" + path});
  std::vector<VideoPacket> packets;
  for (const QString& line : csv.split('\n', Qt::SkipEmptyParts)) {
    const QStringList fields = line.split(',');
    packets.push_back({fields.value(0).toDouble(), fields.value(1).startsWith('K')});
  }
  return packets;
}

}  // namespace

std::vector<double> KeyframeTimes(const QString& path) {
  std::vector<double> times;
  for (const VideoPacket& packet : VideoPackets(path)) {
    if (packet.key) times.push_back(packet.time);
  }
  return times;
}

double LongestKeyframeGap(const QString& path) {
  const std::vector<VideoPacket> packets = VideoPackets(path);
  if (packets.empty() || !packets.front().key) return 1e9;
  double longest = 0;
  double last_key = packets.front().time;
  for (const VideoPacket& packet : packets) {
    if (!packet.key) continue;
    longest = std::max(longest, packet.time - last_key);
    last_key = packet.time;
  }
  return std::max(longest, packets.back().time - last_key);
}

bool FlvmetaFindsNoErrors(const QString& path, QString* report) {
  int exit_code = -1;
  const QString text = RunTool("flvmeta", {"--check", path}, &exit_code);
  if (report) *report = text;
  return exit_code == 0 && text.contains(QRegularExpression("(^|\\n)0 error\\(s\\)"));
}

QStringList EntriesOf(const QString& folder) {
  return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

qint64 ProgressFileSize(const QString& folder) {
  const QFileInfo stat(QDir(folder).filePath("stat"));
  return stat.exists() ? stat.size() : -1;
}

}  // namespace vidforge_test
