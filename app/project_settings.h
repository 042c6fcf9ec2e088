// The record of one job. The main window's controls are its only store: each field here is the
// control that holds it, read at the moment of use and written back into it. The two fields
// without a control are plain members.
#pragma once

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

class CMainDialog;

struct ProjectSettings {
  // Page 1.
  QLineEdit* input_video = nullptr;    // IPVIDEO
  QLineEdit* input_flv = nullptr;      // IPFLV
  QLineEdit* output_folder = nullptr;  // OPFOLDER
  QLineEdit* output_video = nullptr;   // OPVIDEO
  QLineEdit* output_html = nullptr;    // OPHTML
  int which_file = 0;                  // WHICHFILE: 0 nothing chosen, 1 a video, 2 an FLV

  // Page 2: list rows (-1 none) and check states.
  QComboBox* preset = nullptr;               // PRESET, stored by name
  QComboBox* resolution = nullptr;           // RESOLUTION
  QComboBox* frame_rate = nullptr;           // FRAMERATE
  QComboBox* video_bitrate = nullptr;        // VIDEOBITRATE
  QAbstractButton* enabled_audio = nullptr;  // ENABLEAUDIO
  QAbstractButton* mono = nullptr;           // AUDIOMONO: "Mono" checked; "Stereo" is its opposite
  QAbstractButton* stereo = nullptr;
  QComboBox* audio_bitrate = nullptr;  // AUDIOBITRATE
  QComboBox* sampling_rate = nullptr;  // SAMPLINGRATE

  // Page 3.
  QLineEdit* page_title = nullptr;                 // TITLE
  QComboBox* buffer_size = nullptr;                // BUFFERSIZE: the text counts, rows offered
  QAbstractButton* paused_at_start = nullptr;      // PAUSEDATSTART
  QAbstractButton* preload_movie = nullptr;        // PRELOADMOVIE
  QAbstractButton* disable_i_button = nullptr;     // DISABLEIBUTTON
  QAbstractButton* show_border = nullptr;          // SHOWBORDER
  QAbstractButton* enable_link = nullptr;          // ENABLELINK
  QLineEdit* affiliate_id = nullptr;               // AFFILID
  QAbstractButton* enable_redirect_url = nullptr;  // ENABLEREDIRECTURL
  QLineEdit* redirect_url = nullptr;               // REDIRURL, without its "http://"
  int which_player = -1;                           // WHICHPLAYER, -1 for none

  // Attaches every field to its control of the main window.
  void Bind(const CMainDialog& dialog);
};
