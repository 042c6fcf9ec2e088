#include "store/project_snapshot.h"

namespace store {

ProjectField FieldOf(ProjectKey key) {
  using S = ProjectSnapshot;
  switch (key) {
    case ProjectKey::Title:
      return &S::page_title;
    case ProjectKey::InputVideo:
      return &S::input_video;
    case ProjectKey::InputFlv:
      return &S::input_flv;
    case ProjectKey::OutputFolder:
      return &S::output_folder;
    case ProjectKey::OutputVideo:
      return &S::output_video;
    case ProjectKey::OutputHtml:
      return &S::output_html;
    case ProjectKey::Preset:
      return &S::preset_name;
    case ProjectKey::Resolution:
      return &S::resolution;
    case ProjectKey::FrameRate:
      return &S::frame_rate;
    case ProjectKey::VideoBitrate:
      return &S::video_bitrate;
    case ProjectKey::AudioBitrate:
      return &S::audio_bitrate;
    case ProjectKey::SamplingRate:
      return &S::sampling_rate;
    case ProjectKey::BufferSize:
      return &S::buffer_size;
    case ProjectKey::EnableAudio:
      return &S::enabled_audio;
    case ProjectKey::AudioMono:
      return &S::mono;
    case ProjectKey::PausedAtStart:
      return &S::paused_at_start;
    case ProjectKey::PreloadMovie:
      return &S::preload_movie;
    case ProjectKey::DisableIButton:
      return &S::disable_i_button;
    case ProjectKey::ShowBorder:
      return &S::show_border;
    case ProjectKey::EnableLink:
      return &S::enable_link;
    case ProjectKey::AffiliateId:
      return &S::affiliate_id;
    case ProjectKey::EnableRedirectUrl:
      return &S::enable_redirect_url;
    case ProjectKey::RedirectUrl:
      return &S::redirect_url;
    case ProjectKey::WhichFile:
      return &S::which_file;
    case ProjectKey::WhichPlayer:
      return &S::which_player;
    case ProjectKey::PlayersUrl:
      return &S::players_url;
    case ProjectKey::VideosUrl:
      return &S::videos_url;
    case ProjectKey::JsUrl:
      return &S::js_url;
  }
  Q_UNREACHABLE();
}

void ApplyProjectLine(const ProjectLine& line, ProjectSnapshot& job) {
  std::visit(
      [&](auto field) {
        auto& value = job.*field;
        using Value = std::decay_t<decltype(value)>;
        if constexpr (std::is_same_v<Value, QString>) {
          value = line.text;
        } else if constexpr (std::is_same_v<Value, int>) {
          if (line.number) value = *line.number;
        } else if constexpr (std::is_same_v<Value, bool>) {
          value = line.flag;
        } else {
          value.ParseUrlOptionLine(line.text);
        }
      },
      FieldOf(line.key));
}

EncodingPreset EncodingValuesOf(const ProjectSnapshot& job) {
  EncodingPreset values;
  values.resolution = job.resolution;
  values.frame_rate = job.frame_rate;
  values.video_bitrate = job.video_bitrate;
  values.audio_bitrate = job.audio_bitrate;
  values.sampling_rate = job.sampling_rate;
  values.enabled_audio = job.enabled_audio ? 1 : 0;
  values.mono = job.mono ? 1 : 0;
  return values;
}

}  // namespace store
