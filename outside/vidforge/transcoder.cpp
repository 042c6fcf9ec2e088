#include "outside/vidforge/transcoder.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>

#include "outside/vidforge/audio_path.h"
#include "outside/vidforge/input_file.h"
#include "outside/vidforge/metadata_room.h"
#include "outside/vidforge/output_file.h"
#include "outside/vidforge/pipeline.h"
#include "outside/vidforge/progress_file.h"
#include "outside/vidforge/video_path.h"

namespace vidforge {
namespace {

namespace fs = std::filesystem;

// An existing output is checked before anything runs: without -y it is kept, and the run
// refuses. With -y it stays until the new file replaces it at the very end, so a run that
// fails leaves the earlier encoding as it was.
void CheckOldOutput(const EncoderOptions& options) {
  std::error_code error;
  const fs::file_status status = fs::status(options.output, error);
  if (!fs::exists(status)) return;
  if (fs::is_directory(status)) throw EncodeError(options.output + " is a folder");
  if (fs::equivalent(options.input, options.output, error))
    throw EncodeError(options.output + " is the input itself");
  if (!options.overwrite) throw EncodeError(options.output + " already exists (-y replaces it)");
}

// An audio stream whose codec cannot be decoded costs the sound, not the video.
CodecContextPtr OpenAudioDecoder(const InputFile& input) {
  try {
    return OpenDecoder(input.context(), input.audio_stream());
  } catch (const EncodeError& error) {
    Warn(std::string("leaving out the sound: ") + error.what());
    return nullptr;
  }
}

}  // namespace

void Transcode(const EncoderOptions& options) {
  CheckOldOutput(options);
  ProgressFile progress(options.write_progress);
  InputFile input(options.input);
  OutputFile output(options.output);

  VideoPath video(input, options, output);
  std::optional<AudioPath> audio;
  if (options.audio && input.audio_stream()) {
    if (CodecContextPtr decoder = OpenAudioDecoder(input))
      audio.emplace(input, std::move(decoder), *options.audio, output);
  }
  if (!audio && input.audio_stream()) input.audio_stream()->discard = AVDISCARD_ALL;
  ReserveMetadataRoom(output, MetadataRoomFor(input.duration_seconds()));
  output.WriteHeader();

  auto keep_progress = [&](double video_seconds, double audio_seconds) {
    const std::optional<double> fraction =
        input.duration_seconds()
            ? std::optional(std::max(video_seconds, audio_seconds) / *input.duration_seconds())
            : input.fraction_read();
    if (fraction) progress.Update(*fraction);
  };
  EncodingStages stages{input, video, audio ? &*audio : nullptr, keep_progress};
  if (OneThreadRequested())
    RunOnOneThread(stages);
  else
    RunPipelined(stages);
  output.Commit();
  progress.Finish();
}

}  // namespace vidforge
