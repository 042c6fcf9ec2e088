#include "outside/webtwin/web_twin.h"

#include <cstring>
#include <exception>
#include <optional>

#include "outside/vidforge/input_file.h"
#include "outside/vidforge/packet_decoder.h"
#include "outside/webtwin/audio_track.h"
#include "outside/webtwin/mp4_file.h"
#include "outside/webtwin/poster_picker.h"
#include "outside/webtwin/video_track.h"

namespace webtwin {
namespace {

using vidforge::EncodeError;

// The FLV demuxer and its live variant; anything else libavformat recognised is not an FLV,
// whatever its name says.
bool IsFlv(const vidforge::InputFile& input) {
  const char* name = input.context()->iformat->name;
  return std::strcmp(name, "flv") == 0 || std::strcmp(name, "live_flv") == 0;
}

AVRational FrameRateOf(const vidforge::InputFile& input, const AVCodecContext& decoder) {
  const AVRational rate = decoder.framerate;
  if (rate.num > 0 && rate.den > 0) return rate;
  const AVRational guessed = av_guess_frame_rate(input.context(), input.video_stream(), nullptr);
  return guessed.num > 0 && guessed.den > 0 ? guessed : AVRational{25, 1};
}

// The MP4's encoders and writer, set up before the first packet is read.
struct Mp4Twin {
  Mp4File file;
  VideoTrack video;
  std::optional<AudioTrack> audio;

  Mp4Twin(const std::string& path, const vidforge::InputFile& input,
          const AVCodecContext& video_decoder, const AVCodecContext* audio_decoder)
      : file(path),
        video(*input.video_stream(), video_decoder, FrameRateOf(input, video_decoder), file) {
    if (audio_decoder) audio.emplace(*input.audio_stream(), *audio_decoder, file);
    file.WriteHeader();
  }
};

// A sound whose codec cannot be decoded costs the twin its sound, not its picture.
vidforge::CodecContextPtr OpenAudioDecoder(const vidforge::InputFile& input) {
  if (!input.audio_stream()) return nullptr;
  try {
    return vidforge::OpenDecoder(input.context(), input.audio_stream());
  } catch (const EncodeError& error) {
    vidforge::Warn(std::string("the MP4 goes without sound: ") + error.what());
    return nullptr;
  }
}

}  // namespace

void MakeWebTwin(const TwinOptions& options) {
  vidforge::InputFile input(options.input);
  if (!IsFlv(input)) throw EncodeError(options.input + " is not an FLV file");
  const AVCodecParameters* picture = input.video_stream()->codecpar;
  if (picture->width <= 0 || picture->height <= 0)
    throw EncodeError(options.input + " has no readable picture size");

  vidforge::PacketDecoder video(vidforge::OpenDecoder(input.context(), input.video_stream()),
                                "video");
  std::optional<vidforge::PacketDecoder> audio;
  if (options.mp4) {
    if (vidforge::CodecContextPtr decoder = OpenAudioDecoder(input))
      audio.emplace(std::move(decoder), "audio");
  }
  if (!audio && input.audio_stream()) input.audio_stream()->discard = AVDISCARD_ALL;

  std::optional<PosterPicker> poster;
  if (options.poster) poster.emplace(*options.poster);
  std::optional<Mp4Twin> mp4;
  std::exception_ptr mp4_failure;
  try {
    if (options.mp4)
      mp4.emplace(*options.mp4, input, *video.context(), audio ? audio->context() : nullptr);
  } catch (...) {
    mp4_failure = std::current_exception();
  }

  auto take_picture = [&](AVFrame* frame) {
    if (poster) poster->Offer(*frame);
    if (!mp4) return;
    std::optional<int64_t> pts;
    if (frame->best_effort_timestamp != AV_NOPTS_VALUE) pts = frame->best_effort_timestamp;
    mp4->video.Add(frame, pts);
  };
  auto take_sound = [&](AVFrame* frame) {
    if (mp4 && mp4->audio) mp4->audio->Add(frame, audio->StampSeconds(frame));
  };

  const int video_index = input.video_stream()->index;
  const int audio_index = audio ? input.audio_stream()->index : -1;
  vidforge::PacketPtr packet = vidforge::MakePacket();
  try {
    // Without an MP4 to write, the poster's picture is all that is needed.
    while (mp4 || (poster && !poster->chosen())) {
      const int result = av_read_frame(input.context(), packet.get());
      if (result < 0) {
        // A truncated or damaged file ends here; what was decoded so far still makes a twin.
        if (result != AVERROR_EOF)
          vidforge::Warn("the input ends early: " + vidforge::ErrorText(result));
        break;
      }
      if (packet->stream_index == video_index) {
        video.Decode(packet.get(), take_picture);
      } else if (packet->stream_index == audio_index) {
        audio->Decode(packet.get(), take_sound);
      }
      av_packet_unref(packet.get());
    }
    video.Drain(take_picture);
    if (audio) audio->Drain(take_sound);
    if (mp4) {
      mp4->video.Finish();
      if (mp4->audio) mp4->audio->Finish();
      mp4->file.Commit();
    }
  } catch (...) {
    if (!mp4_failure) mp4_failure = std::current_exception();
  }
  mp4.reset();
  // The poster stands on its own: a twin that could not be finished does not cost the page its
  // picture.
  if (poster) poster->Write();
  if (mp4_failure) std::rethrow_exception(mp4_failure);
}

}  // namespace webtwin
