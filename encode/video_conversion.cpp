#include "encode/video_conversion.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <new>
#include <vector>

namespace encode {

namespace {

using videofile::Failed;

const char kNoCompressor[] = "Microsoft MPEG-4 Video Codec V2 is not installed.";
const char kCodecMissing[] =
    "Error while converting file.\nPlease make sure that the following video codec is installed "
    "on your PC:\n\n";
const char kUnknownCodec[] = "Error while converting file. Unknown codec.";
const char kConversionError[] = "Error while converting file.";

// The blocks of audio moved per pass.
constexpr std::int32_t kAudioBlockBytes = 2304;

// Thrown inside the loop when a checked operation fails; caught once, below.
struct CheckedFailure {
  const char* operation;
};

void Check(videofile::Status status, const char* operation) {
  if (Failed(status)) throw CheckedFailure{operation};
}

std::string ToLocal(const QString& text) {
  return text.toStdString();
}

// The first compressor whose name begins with "mp42", in any case; 0 when there is none.
std::int32_t FindMp42Compressor(videofile::IVideoFile& writer) {
  std::int32_t count = 0;
  Check(writer.VideoCompressorCount(count), "VideoCompressorCount");
  for (std::int32_t index = 1; index <= count; ++index) {
    Check(writer.SelectVideoCompressor(index), "SelectVideoCompressor");
    std::string name;
    Check(writer.VideoCompressorName(name), "VideoCompressorName");
    if (QString::fromStdString(name).toLower().startsWith(QLatin1String("mp42"))) return index;
  }
  return 0;
}

// Thrown between passes when the user stops the conversion.
struct StopRequested {};

class Conversion {
 public:
  Conversion(videofile::IVideoFile& reader, videofile::IVideoFile& writer,
             const QString& input_path, const ConversionHooks& hooks)
      : reader_(reader), writer_(writer), input_path_(input_path), hooks_(hooks) {}

  ConversionResult Run() {
    ConversionResult result;
    SetProgress(0);
    // How far the conversion got decides the working name it leaves: none before the input is
    // open, the input's stem while the settings are copied, the temporary file from then on.
    enum class Reached { Nothing, InputOpen, OutputNamed } reached = Reached::Nothing;
    try {
      const std::int32_t compressor = FindMp42Compressor(writer_);
      if (compressor == 0) return Fail(result, kNoCompressor, "no mp42 compressor");
      std::int32_t unused = 0;
      if (Failed(reader_.OpenInputFile(ToLocal(input_path_), unused))) {
        const QString description = hooks_.describe_codec ? hooks_.describe_codec(input_path_) : "";
        return Fail(result, description.isEmpty() ? kUnknownCodec : kCodecMissing + description,
                    "OpenInputFile");
      }
      reached = Reached::InputOpen;
      CopyAudioSettings(compressor);
      reached = Reached::OutputNamed;
      CopyVideoSettingsAndCreateOutput();
      MoveFramesAndBlocks();
      result.succeeded = true;
    } catch (const StopRequested&) {
      // Closing may fail on a half-written file; it goes either way.
      reader_.CloseFile();
      writer_.CloseFile();
      QFile::remove(TemporaryPath());
      result.stopped = true;
      return result;
    } catch (const CheckedFailure& failure) {
      Fail(result, kConversionError, failure.operation);
    } catch (const std::bad_alloc&) {
      Fail(result, kConversionError, "memory");
    }
    if (reached == Reached::InputOpen) result.converted_path = WorkingStem(input_path_);
    if (reached == Reached::OutputNamed) result.converted_path = TemporaryPath();
    return result;
  }

 private:
  QString TemporaryPath() const {
    const QString beside_input = TemporaryAviPath(input_path_);
    if (hooks_.temporary_folder.isEmpty()) return beside_input;
    return QDir(hooks_.temporary_folder).filePath(QFileInfo(beside_input).fileName());
  }

  static ConversionResult& Fail(ConversionResult& result, const QString& message,
                                const char* operation) {
    result.succeeded = false;
    result.message = message;
    result.failed_operation = QString::fromLatin1(operation);
    return result;
  }

  void SetProgress(int percent) {
    if (hooks_.set_progress) hooks_.set_progress(percent);
  }

  void CopyAudioSettings(std::int32_t compressor) {
    std::int32_t video_setting = 0;
    std::int16_t has_audio = 0;
    reader_.GetVideoSetting(video_setting);
    reader_.GetHasAudio(has_audio);
    Check(writer_.SelectVideoCompressor(compressor), "SelectVideoCompressor");
    writer_.PutVideoSetting(video_setting);
    writer_.PutHasAudio(has_audio);

    if (has_audio != 0) {
      std::int32_t audio1 = 0, audio2 = 0;
      Check(reader_.AudioValue1(audio1), "AudioValue1");
      Check(reader_.AudioValue2(audio2), "AudioValue2");
      Check(writer_.SetAudioFormat(audio2, audio1, 16), "SetAudioFormat");
      Check(reader_.AudioValue1(audio1), "AudioValue1");
      Check(reader_.AudioValue2(audio2), "AudioValue2");
      Check(writer_.SetAudioOutput(audio2, audio1), "SetAudioOutput");
    }
  }

  void CopyVideoSettingsAndCreateOutput() {
    std::int32_t video1 = 0, video2 = 0;
    double frame_rate = 0;
    Check(reader_.VideoValue1(video1), "VideoValue1");
    Check(reader_.VideoValue2(video2), "VideoValue2");
    Check(reader_.FrameRate(frame_rate), "FrameRate");
    Check(writer_.SetVideoFormat(video1, video2, frame_rate), "SetVideoFormat");
    Check(reader_.FrameRate(frame_rate), "FrameRate");
    Check(writer_.SetVideoOutput(video1, video2, frame_rate), "SetVideoOutput");
    Check(writer_.CreateOutputFile(ToLocal(TemporaryPath()), 1), "CreateOutputFile");
  }

  std::pair<std::int32_t, std::int32_t> Positions() {
    std::int32_t video = 0, audio = 0;
    Check(reader_.VideoPosition(video), "VideoPosition");
    Check(reader_.AudioPosition(audio), "AudioPosition");
    return {video, audio};
  }

  void MoveFramesAndBlocks() {
    std::int32_t video_length = 0;
    reader_.VideoLength(video_length);
    bool video_done = false;
    bool audio_done = false;
    std::vector<std::uint8_t> data;
    for (;;) {
      auto [video_position, audio_position] = Positions();
      // Audio that runs past the video ends with it.
      if (video_position > video_length) video_done = true;
      if (audio_position > video_length) audio_done = true;

      std::tie(video_position, audio_position) = Positions();
      if ((video_position <= audio_position || audio_done) && !video_done) {
        data.clear();
        Check(reader_.ReadVideoFrame(data), "ReadVideoFrame");
        if (data.empty())
          video_done = true;
        else
          Check(writer_.WriteVideoFrame(data), "WriteVideoFrame");
      }

      std::tie(video_position, audio_position) = Positions();
      if ((video_position > audio_position || video_done) && !audio_done) {
        data.clear();
        Check(reader_.ReadAudioBlock(kAudioBlockBytes, data), "ReadAudioBlock");
        if (data.empty())
          audio_done = true;
        else
          Check(writer_.WriteAudioBlock(data), "WriteAudioBlock");
      }

      std::tie(video_position, audio_position) = Positions();
      std::int32_t video_total = 0, audio_total = 0;
      Check(reader_.VideoLength(video_total), "VideoLength");
      Check(reader_.AudioLength(audio_total), "AudioLength");
      const double total = static_cast<double>(audio_total) + video_total;
      // Lengths of zero would divide by zero: the bar then simply stays where it is.
      if (total > 0)
        SetProgress(static_cast<int>(
            (audio_position + static_cast<double>(video_position)) / total * 100 + 0.5));

      if (video_done && audio_done) {
        Check(reader_.CloseFile(), "CloseFile");
        SetProgress(100);
        // An AVI whose writer could not finish it has no index: not a file to encode.
        Check(writer_.CloseFile(), "CloseFile");
        return;
      }
      if (hooks_.dispatch_events) hooks_.dispatch_events();
      if (hooks_.stop_requested && hooks_.stop_requested()) throw StopRequested{};
    }
  }

  videofile::IVideoFile& reader_;
  videofile::IVideoFile& writer_;
  const QString& input_path_;
  const ConversionHooks& hooks_;
};

}  // namespace

QString WorkingStem(const QString& input_path) {
  return input_path.left(qMax(0, input_path.size() - 4));
}

QString TemporaryAviPath(const QString& input_path) {
  return WorkingStem(input_path) + QStringLiteral("_converted.avi");
}

ConversionResult ConvertToTemporaryAvi(videofile::IVideoFile& reader, videofile::IVideoFile& writer,
                                       const QString& input_path, const ConversionHooks& hooks) {
  return Conversion(reader, writer, input_path, hooks).Run();
}

}  // namespace encode
