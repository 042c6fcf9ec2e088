// The published page from the HTML template: placeholders filled with the title, the player
// size, the FlashVars text and the player's address; with the external script option, the
// player block goes into a script that writes it into the page.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

#include "encode/metadata_tool.h"
#include "publish/flash_vars.h"

namespace publish {

// The four numbers of a player's size file; -1 where a key is missing.
struct PlayerSizeRules {
  int minimal_width = -1;
  int minimal_height = -1;
  int increment_width = -1;
  int increment_height = -1;
};

struct PageInput {
  std::optional<QByteArray> template_text;  // nothing: the template could not be read
  QString video_path;                       // the FLV in the output folder, for the message
  encode::FrameSize frame_size;             // 0 where the size is unavailable
  QString size_file_path;
  std::optional<PlayerSizeRules> size_rules;  // nothing: no size file at that path
  QString page_title;
  FlashVarsInput flash_vars;
  bool players_url_enabled = false;
  QString players_url;
  bool js_url_enabled = false;
  QString js_url;
  // The poster picture and the MP4 twin beside the video, as names in the output folder;
  // empty when there is none.
  QString poster_name;
  QString mp4_name;
};

struct GeneratedPage {
  bool ok = false;
  QString message;  // why not, in the user's words, when not ok
  QString page;     // lines end in "\n"
  QString script;
  // The redirect box's cleaned text, when a FlashVars placeholder was filled and cleaning
  // changed the address (see ComposeFlashVars).
  std::optional<QString> cleaned_redirect_url;
};

// The template's path in the program folder.
QString TemplatePath(const QString& program_folder);

// The whole template file, or nothing when it cannot be read.
std::optional<QByteArray> ReadTemplate(const QString& path);

// The size file of a player in the resources folder: the player's file name in lower case
// with every ".swf" in it replaced by ".ini".
QString PlayerSizeFilePath(const QString& resources_folder, const QString& player_file);

// The size file's four numbers, or nothing when no file is at `path`.
std::optional<PlayerSizeRules> ReadPlayerSizeRules(const QString& path);

// The page size: the frame size plus the increments, at least the minimal size.
encode::FrameSize PageSize(const encode::FrameSize& frame, const PlayerSizeRules& rules);

// Text placed between single quotes in JavaScript that stands for exactly `line`.
QString JavaScriptStringBody(const QString& line);

GeneratedPage GeneratePage(const PageInput& input);

}  // namespace publish
