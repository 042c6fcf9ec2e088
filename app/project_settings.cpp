#include "app/project_settings.h"

#include "app/main_dialog.h"
#include "res/resource.h"

void ProjectSettings::Bind(const CMainDialog& dialog) {
  input_video = dialog.ControlAs<QLineEdit>(IDC_INPUT_VIDEO);
  input_flv = dialog.ControlAs<QLineEdit>(IDC_INPUT_FLV);
  output_folder = dialog.ControlAs<QLineEdit>(IDC_OUTPUT_FOLDER);
  output_video = dialog.ControlAs<QLineEdit>(IDC_OUTPUT_VIDEO);
  output_html = dialog.ControlAs<QLineEdit>(IDC_OUTPUT_HTML);
  preset = dialog.ControlAs<QComboBox>(IDC_PRESET);
  resolution = dialog.ControlAs<QComboBox>(IDC_RESOLUTION);
  frame_rate = dialog.ControlAs<QComboBox>(IDC_FRAME_RATE);
  video_bitrate = dialog.ControlAs<QComboBox>(IDC_VIDEO_BITRATE);
  enabled_audio = dialog.ControlAs<QAbstractButton>(IDC_ENABLE_AUDIO);
  mono = dialog.ControlAs<QAbstractButton>(IDC_MONO);
  stereo = dialog.ControlAs<QAbstractButton>(IDC_STEREO);
  audio_bitrate = dialog.ControlAs<QComboBox>(IDC_AUDIO_BITRATE);
  sampling_rate = dialog.ControlAs<QComboBox>(IDC_SAMPLING_RATE);
  page_title = dialog.ControlAs<QLineEdit>(IDC_PAGE_TITLE);
  buffer_size = dialog.ControlAs<QComboBox>(IDC_BUFFER_SIZE);
  paused_at_start = dialog.ControlAs<QAbstractButton>(IDC_PAUSED_AT_START);
  preload_movie = dialog.ControlAs<QAbstractButton>(IDC_PRELOAD_MOVIE);
  disable_i_button = dialog.ControlAs<QAbstractButton>(IDC_DISABLE_I_BUTTON);
  show_border = dialog.ControlAs<QAbstractButton>(IDC_SHOW_BORDER);
  enable_link = dialog.ControlAs<QAbstractButton>(IDC_ENABLE_LINK);
  affiliate_id = dialog.ControlAs<QLineEdit>(IDC_AFFILIATE_ID);
  enable_redirect_url = dialog.ControlAs<QAbstractButton>(IDC_ENABLE_REDIRECT);
  redirect_url = dialog.ControlAs<QLineEdit>(IDC_REDIRECT_URL);
}
