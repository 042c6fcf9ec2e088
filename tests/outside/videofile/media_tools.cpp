#include "media_tools.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include "run_program.h"

namespace videofile_test {
namespace {

using ToolRun = test_support::ProgramRun;
using test_support::RunProgram;

ToolRun RunTool(const QString& program, const QStringList& arguments) {
  return RunProgram(program, arguments);
}

ToolRun RunProbe(const std::string& path, const QStringList& entries) {
  return RunTool("ffprobe", QStringList{"-v", "error"} + entries +
                                QStringList{"-of", "json", QString::fromStdString(path)});
}

QJsonObject ProbeJson(const std::string& path, const QStringList& entries) {
  const ToolRun run = RunProbe(path, entries);
  if (!run.finished || run.exit_code != 0) return {};
  return QJsonDocument::fromJson(run.out.toUtf8()).object();
}

std::int64_t Number(const QJsonObject& object, const char* key) {
  return object.value(key).toVariant().toLongLong();
}

}  // namespace

bool RunFfmpeg(const QStringList& arguments) {
  const ToolRun run = RunTool("ffmpeg", QStringList{"-v", "error", "-y"} + arguments);
  return run.finished && run.exit_code == 0;
}

const ProbedStream* ProbedMedia::Find(const std::string& type) const {
  for (const ProbedStream& stream : streams) {
    if (stream.type == type) return &stream;
  }
  return nullptr;
}

std::optional<ProbedMedia> Probe(const std::string& path) {
  const QJsonObject json = ProbeJson(
      path, {"-count_frames", "-show_entries",
             "format=format_name,duration:stream=codec_type,codec_name,codec_tag_string,width,"
             "height,nb_frames,nb_read_frames,sample_rate,channels"});
  if (json.isEmpty()) return std::nullopt;
  ProbedMedia media;
  const QJsonObject format = json.value("format").toObject();
  media.format = format.value("format_name").toString().toStdString();
  media.duration = format.value("duration").toVariant().toDouble();
  for (const QJsonValue& value : json.value("streams").toArray()) {
    const QJsonObject object = value.toObject();
    ProbedStream stream;
    stream.type = object.value("codec_type").toString().toStdString();
    stream.codec = object.value("codec_name").toString().toStdString();
    stream.tag = object.value("codec_tag_string").toString().toStdString();
    stream.width = static_cast<int>(Number(object, "width"));
    stream.height = static_cast<int>(Number(object, "height"));
    stream.frames = Number(object, "nb_read_frames");
    stream.samples = Number(object, "nb_frames");
    stream.sample_rate = static_cast<int>(Number(object, "sample_rate"));
    stream.channels = static_cast<int>(Number(object, "channels"));
    media.streams.push_back(stream);
  }
  return media;
}

std::vector<ProbedPacket> ProbePackets(const std::string& path) {
  const QJsonObject json = ProbeJson(path, {"-show_entries", "packet=codec_type,pts_time"});
  std::vector<ProbedPacket> packets;
  for (const QJsonValue& value : json.value("packets").toArray()) {
    const QJsonObject object = value.toObject();
    packets.push_back({object.value("codec_type").toString().toStdString(),
                       object.value("pts_time").toVariant().toDouble()});
  }
  return packets;
}

bool DecodesCleanly(const std::string& path) {
  const ToolRun run =
      RunTool("ffmpeg", {"-v", "error", "-i", QString::fromStdString(path), "-f", "null", "-"});
  return run.finished && run.exit_code == 0 && run.err.trimmed().isEmpty();
}

}  // namespace videofile_test
