// A whole job as plain values: what Save writes into a project file and what a project file's
// lines set. The window fills it from its controls to save, and applies the read lines to its
// controls to open; ApplyProjectLine is the same rule on plain values.
#pragma once

#include <QString>
#include <variant>

#include "publish/external_url_option.h"
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
  int which_player = 0;
  publish::ExternalUrlOption players_url{publish::kPlayersUrlKey};
  publish::ExternalUrlOption videos_url{publish::kVideosUrlKey};
  publish::ExternalUrlOption js_url{publish::kJsUrlKey};

  friend bool operator==(const ProjectSnapshot&, const ProjectSnapshot&) = default;
};

// The field a key stands for.
using ProjectField =
    std::variant<QString ProjectSnapshot::*, int ProjectSnapshot::*, bool ProjectSnapshot::*,
                 publish::ExternalUrlOption ProjectSnapshot::*>;
ProjectField FieldOf(ProjectKey key);

// Sets the line's field as opening a project does. A number key whose value holds no number
// leaves its field as it was, for the list rows as for which_file and which_player.
void ApplyProjectLine(const ProjectLine& line, ProjectSnapshot& job);

}  // namespace store
