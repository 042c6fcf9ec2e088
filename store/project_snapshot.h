// A whole job as plain values: what Save writes into a project file and what a project file's
// lines set. The window reads it from its controls (to save, to encode, to capture the custom
// encoding values); opening a project applies each line with ApplyProjectLine, in the window as
// on plain values, and the window then shows the field that line set.
#pragma once

#include <QString>
#include <variant>

#include "store/encoding_preset.h"
#include "store/external_url_option.h"
#include "store/project_line.h"

namespace store {

struct ProjectSnapshot {
  QString page_title;
  QString input_video;
  QString input_flv;
  QString output_folder;
  QString output_video;
  QString output_html;
  QString preset_name;  // the chosen preset's name; empty when no preset is chosen
  // Rows of the lists; -1 for a list with no row selected.
  int resolution = 1;
  int frame_rate = 3;
  int video_bitrate = 0;
  int audio_bitrate = 3;
  int sampling_rate = 0;
  int buffer_size = 1;
  bool enabled_audio = true;
  bool mono = true;
  bool paused_at_start = false;
  bool preload_movie = true;
  bool disable_i_button = true;
  bool show_border = true;
  bool enable_link = false;
  QString affiliate_id;
  bool enable_redirect_url = false;
  QString redirect_url;
  int which_file = 0;
  int which_player = -1;  // none chosen, as the window starts
  store::ExternalUrlOption players_url{store::kPlayersUrlKey};
  store::ExternalUrlOption videos_url{store::kVideosUrlKey};
  store::ExternalUrlOption js_url{store::kJsUrlKey};

  friend bool operator==(const ProjectSnapshot&, const ProjectSnapshot&) = default;
};

// The field a key stands for.
using ProjectField =
    std::variant<QString ProjectSnapshot::*, int ProjectSnapshot::*, bool ProjectSnapshot::*,
                 store::ExternalUrlOption ProjectSnapshot::*>;
ProjectField FieldOf(ProjectKey key);

// Sets the line's field as opening a project does. A number key whose value holds no number
// leaves its field as it was, for the list rows as for which_file and which_player.
void ApplyProjectLine(const ProjectLine& line, ProjectSnapshot& job);

// The seven encoding values of the job, as a preset keeps them (without a name).
EncodingPreset EncodingValuesOf(const ProjectSnapshot& job);

}  // namespace store
