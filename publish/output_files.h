// Producing the web page: the output folder checked, the video's name settled, the video and
// the player put side by side in the output folder, the video measured, the page (and the
// external script) generated and written. The window reads the job from its controls, calls
// PublishPage, writes the names back and shows the result.
#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "encode/metadata_tool.h"
#include "publish/flash_vars.h"
#include "publish/output_file.h"

namespace publish {

struct PublishJob {
  QString program_folder;
  QString output_folder;  // as typed
  QString output_video;   // as typed
  QString output_html;    // as typed
  int which_file = 0;     // 0 nothing chosen, 1 a video to encode, 2 an existing FLV
  QString input_flv;
  QString player_file;  // in the resources folder: ChosenPlayerFile's answer
  QString page_title;
  FlashVarsInput flash_vars;  // its output_video is replaced by the completed name
  bool players_url_enabled = false;
  QString players_url;
  bool js_url_enabled = false;
  QString js_url;
  // Whether an MP4 twin of the video is put beside it for browsers without the Flash runtime.
  // The poster picture is made either way.
  bool publish_mp4_twin = true;
};

// What publishing asks of the world beyond files: the metadata tool, the size it reports, the
// companion that makes the poster and the MP4 twin, and the messages the user sees, in order.
struct PublishTools {
  std::function<void(const QString& flv_path)> run_metadata_tool;
  // Writes the poster and the MP4 twin of the FLV at their paths (an empty path: not wanted)
  // and waits; nothing when there is no such companion.
  std::function<void(const QString& flv_path, const QString& poster_path, const QString& mp4_path)>
      make_web_twin;
  std::function<encode::FrameSize(const QString& flv_path)> read_frame_size;
  std::function<void(const QString& text)> show_message;

  // The real metadata tool of `program_folder` (waited for) and its size report.
  static PublishTools Real(const QString& program_folder,
                           std::function<void(const QString&)> show_message);
};

struct PublishResult {
  bool published = false;  // the page (and script) were written: show the tick, enable Preview
  // Texts to write back into their boxes; nothing where the box is to stay as it is.
  std::optional<QString> output_video;
  std::optional<QString> output_html;
  std::optional<QString> redirect_url;
  // The poster picture and the MP4 twin beside the video, by name in the output folder; empty
  // when there is none (the companion failed, or the MP4 was not wanted).
  QString poster_name;
  QString mp4_name;
  // The texts of this generation; empty when generation failed or was not reached.
  QString generated_html;
  QString generated_script;
};

// The page file's name: trimmed, "index.html" when empty, ".html" appended unless the
// lower-cased name holds ".htm" anywhere.
QString CompleteHtmlName(const QString& output_html);

// The external script's file name: what follows the last "\" or "/" of its address (the
// whole text when it has neither). Empty when nothing usable remains.
QString ScriptFileName(const QString& js_url);

// Whether `name` stays inside the output folder and is not hidden there: every part of it
// between separators ("/", and "\" as in names written on the other platform) holds more than
// blanks and does not start with "." once trimmed. That refuses an absolute name, "..", and
// dotfiles such as ".bashrc", which a project file could otherwise have replaced.
bool IsPlainOutputName(const QString& name);

// The text with every line feed stored as a carriage return and a line feed.
QByteArray WithCrLf(const QString& text);

// Names the page file, generates the page and writes the page and the script file into the
// output folder; their names must have passed IsPlainOutputName. Messages go to
// tools.show_message; the names and texts to `result`.
bool WriteOutputFiles(OutputFolder& out, const PublishJob& job, const PublishTools& tools,
                      PublishResult& result);

// The whole Produce Web Page action. Also copies the program's resources/ruffle/ beside the
// page as ruffle/ (only files missing or different), so that the page plays in a current
// browser from any plain web host. Every name is checked, and whatever else can fail is
// checked, before anything is written; a publish that fails later removes what it made.
// After measuring the video it has the poster and the MP4 twin made beside it, named after it,
// unless they are there already and no older than the video; their failure fails nothing.
PublishResult PublishPage(const PublishJob& job, const PublishTools& tools);

}  // namespace publish
