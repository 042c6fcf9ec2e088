// The encoder's parameter string for one run, built from the job's encoding settings, and the
// FLV it will write. The window reads its controls into an EncoderJob, shows `stop_message`
// when there is one, and otherwise writes `output_video` back and starts the encoder.
#pragma once

#include <QString>
#include <QStringList>

#include "store/project_snapshot.h"

namespace encode {

// What a run is built from: the texts and rows of the window's controls at Start Encoding.
struct EncoderJob {
  QString output_folder;    // text of the output-folder field, as typed
  QString converted_path;   // a pending converted AVI, used instead of input_video; usually empty
  QString input_video;      // text of the input-video field
  QString output_video;     // text of the output-name field
  int resolution_row = -1;  // selected row of the frame-size list, -1 for none
  int frame_rate_row = -1;  // selected row of the frame-rate list, -1 for none
  QString frame_rate;       // its text ("7.5")
  QString video_bitrate;    // text of the selected video bit rate row, empty for none
  bool enabled_audio = false;
  QString audio_bitrate;  // text of the selected audio bit rate row ("64")
  QString sampling_rate;  // text of the selected sampling rate row ("22,050")
  bool mono = false;
  QString working_folder;  // where the progress file is kept
};

// The run's values from the job as the window holds it: the rows of the encoding lists become
// their texts. `working_folder` and the converted path are the run's own.
EncoderJob EncoderJobFor(const store::ProjectSnapshot& job);

// A prepared run, or the reason it does not start.
struct EncoderRun {
  QString stop_message;     // when not empty: show it, nothing else happens
  QString arguments;        // the encoder's parameter string
  QString output_video;     // the completed output name, to be written back into its field
  QString run_input_path;   // the file the encoder reads
  QString output_flv_path;  // the file the encoder writes

  bool Stopped() const { return !stop_message.isEmpty(); }
};

// Checks the output folder, then the input, and builds the run. When the run is not stopped,
// the progress file of an earlier run is deleted (the one thing this does besides computing).
EncoderRun PrepareEncoderRun(const EncoderJob& job);

// The output-folder test shared with publishing. Trims blanks, then every trailing "\" and
// "/", and hands that folder back in `normalised` (when given). False for an empty folder;
// otherwise true when the folder can be listed (an existing empty folder counts, as it lists
// "." and ".."). A lone "/" is the root folder: true, with an empty `normalised`, so that
// `normalised` + separator + name is a path in the root ("/clip.flv").
bool OutputFolderExists(const QString& folder_text, QString* normalised = nullptr);

// The output name with ".flv" appended unless its lower-case form holds ".flv" anywhere.
QString CompleteFlvName(const QString& output_video);

// The parameter string as an argument list for launching. Each quoted path is one argument,
// whatever it holds; every other piece splits at its blanks. A piece without its value
// ("-b" when no bit rate row is selected) keeps an empty argument in the value's place, so
// the encoder reports the missing value instead of taking the next option as the value.
// `input_path` is the run's input, exactly as it was quoted: a path may itself hold the text
// that follows it in the string, so only the known path tells where it ends.
QStringList SplitEncoderArguments(const QString& arguments, const QString& input_path);

}  // namespace encode
