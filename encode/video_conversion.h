// The conversion of a video the encoder cannot read into a temporary AVI with the MPEG-4 V2
// compressor: two VideoFile instances, a reader and a writer; the reader's settings copied to
// the writer, then video frames and audio blocks moved across in an interleaved loop.
#pragma once

#include <QString>
#include <functional>

#include "outside/videofile/video_file.h"

namespace encode {

struct ConversionResult {
  bool succeeded = false;
  QString message;           // what the user is told on failure
  QString converted_path;    // the working name when the conversion stopped (see below)
  QString failed_operation;  // the checked operation that failed, for diagnostics
  // Stopped on request: nothing to tell, and the temporary file is gone.
  bool stopped = false;
};

struct ConversionHooks {
  std::function<void(int percent)> set_progress;
  // Hands pending window events to their windows between passes, so the windows repaint.
  std::function<void()> dispatch_events;
  // Asked between passes: true ends the conversion, closing and removing the temporary file.
  std::function<bool()> stop_requested;
  // The codec's description for the message when the input cannot be opened.
  std::function<QString(const QString& path)> describe_codec;
  // When not empty, the temporary file is made in this folder, under the same name, instead of
  // beside the input: for runs that may convert one input at the same time, or cannot write
  // the input's folder.
  QString temporary_folder;
};

// The input path without its last four characters ("/in/clip.wmv" gives "/in/clip"): the
// working name until the output is named.
QString WorkingStem(const QString& input_path);
// The temporary file's name: the stem followed by "_converted.avi" ("/in/clip.wmv" gives
// "/in/clip_converted.avi").
QString TemporaryAviPath(const QString& input_path);

// Converts `input_path`. A failure that happens before the input is opened leaves
// `converted_path` empty; a failure while the settings are copied leaves the stem, any later
// end the temporary file's name. A stop leaves it empty.
ConversionResult ConvertToTemporaryAvi(videofile::IVideoFile& reader, videofile::IVideoFile& writer,
                                       const QString& input_path, const ConversionHooks& hooks);

}  // namespace encode
