#include "publish/page_generation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>
#include <limits>

#include "publish/page_values.h"
#include "store/profile_file.h"

namespace publish {

namespace {

// A page must have a title, and the player its name: without a title typed (or only blanks),
// the video's name stands in.
QString TitleOf(const PageInput& input) {
  if (!input.page_title.trimmed().isEmpty()) return input.page_title;
  return QFileInfo(input.video_path).completeBaseName();
}

const char kStartMarker[] = "<!-- START Reelwright code -->";
const char kEndMarker[] = "<!-- END Reelwright code -->";

// Replaces the first `placeholder` of `line` with `value`, searching the line as it now is.
void ReplaceFirst(QString& line, const QString& placeholder, const QString& value) {
  const qsizetype at = line.indexOf(placeholder);
  if (at >= 0) line.replace(at, placeholder.size(), value);
}

// The template's lines: the text after the last line break is a line of its own, even when
// empty; a carriage return before a line feed is dropped. A line is read whole, however long.
QStringList TemplateLines(const QByteArray& bytes) {
  QStringList lines;
  for (QByteArray line : bytes.split('\n')) {
    if (line.endsWith('\r')) line.chop(1);
    lines << QString::fromUtf8(line);
  }
  // The final line has no line feed after it, so a carriage return there is its own text.
  if (!bytes.endsWith('\n') && bytes.endsWith('\r')) lines.last() += '\r';
  return lines;
}

}  // namespace

QString TemplatePath(const QString& program_folder) {
  return QDir(program_folder).filePath("resources/template.htm");
}

std::optional<QByteArray> ReadTemplate(const QString& path) {
  QFile file(path);
  if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) return std::nullopt;
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) return std::nullopt;
  return bytes;
}

QString PlayerSizeFilePath(const QString& resources_folder, const QString& player_file) {
  // Only the file name is lowered: the folders above it keep their case, which matters on a
  // file system that tells cases apart.
  return QDir(resources_folder).filePath(player_file.toLower().replace(".swf", ".ini"));
}

std::optional<PlayerSizeRules> ReadPlayerSizeRules(const QString& path) {
  if (!QFileInfo(path).isFile()) return std::nullopt;
  const store::ProfileFile file = store::ProfileFile::Load(path);
  PlayerSizeRules rules;
  rules.minimal_width = file.ReadInt("Minimal Dimensions", "Width", -1);
  rules.minimal_height = file.ReadInt("Minimal Dimensions", "Height", -1);
  rules.increment_width = file.ReadInt("Increments", "Width", -1);
  rules.increment_height = file.ReadInt("Increments", "Height", -1);
  return rules;
}

encode::FrameSize PageSize(const encode::FrameSize& frame, const PlayerSizeRules& rules) {
  // Added in 64 bits so that huge values from a damaged file cannot overflow.
  const auto grown = [](int size, int increment, int minimal) {
    const long long value = std::max<long long>(static_cast<long long>(size) + increment, minimal);
    return static_cast<int>(std::min<long long>(value, std::numeric_limits<int>::max()));
  };
  return {grown(frame.width, rules.increment_width, rules.minimal_width),
          grown(frame.height, rules.increment_height, rules.minimal_height)};
}

QString JavaScriptStringBody(const QString& line) {
  QString body;
  body.reserve(line.size());
  for (qsizetype i = 0; i < line.size(); ++i) {
    const QChar c = line[i];
    if (c == '\\') {
      body += "\\\\";
    } else if (c == '\'') {
      body += "\\'";
    } else if (c == '<' && i + 1 < line.size() && line[i + 1] == '/') {
      body += "<\\/";  // "</script>" inside the string would end the script element
      ++i;
    } else if (c == '\r') {
      body += "\\r";
    } else if (c == '\n') {
      body += "\\n";
    } else if (c == QChar(0x2028)) {
      body += "\\u2028";
    } else if (c == QChar(0x2029)) {
      body += "\\u2029";
    } else {
      body += c;
    }
  }
  return body;
}

GeneratedPage GeneratePage(const PageInput& input) {
  GeneratedPage result;
  if (!input.template_text) {
    result.message = "Template.htm\r\nCould not open the template HTML file!";
    return result;
  }
  if (input.frame_size.width == 0 || input.frame_size.height == 0) {
    result.message = input.video_path + "\n\nCan't get movie resolution data.";
    return result;
  }
  if (!input.size_rules) {
    result.message = input.size_file_path + "\n\nCan't find file.";
    return result;
  }
  const PlayerSizeRules& rules = *input.size_rules;
  if (rules.minimal_width < 0 || rules.minimal_height < 0 || rules.increment_width < 0 ||
      rules.increment_height < 0) {
    result.message = input.size_file_path + "\n\nError in the file structure.";
    return result;
  }
  const encode::FrameSize page_size = PageSize(input.frame_size, rules);
  const QString width = QString::number(page_size.width);
  const QString height = QString::number(page_size.height);
  // The values the job controls are written as HTML text: the template puts them in the title
  // and in attributes, and none of them may close either.
  const QString swf_file =
      (input.players_url_enabled ? HtmlText(input.players_url) : QString()) + "player.swf";
  const QString page_title = HtmlText(TitleOf(input));
  // The poster and the twin lie beside the video, wherever the page finds that.
  const auto beside_video = [&input](const QString& name) {
    const FlashVarsInput& vars = input.flash_vars;
    // The address also lands in a script's string, where a backslash would escape; a browser
    // reads one in a web address as "/" anyway.
    const QString location = vars.videos_url_enabled ? vars.videos_url : QString();
    return HtmlText(QString(location).replace('\\', '/') + RelativeUrlPath(name));
  };
  struct VideoFile {
    const char* placeholder;
    bool written;
    QString address;
  };
  const VideoFile video_files[] = {
      {"#POSTER_FILE", !input.poster_name.isEmpty(), beside_video(input.poster_name)},
      {"#MP4_FILE", !input.mp4_name.isEmpty(), beside_video(input.mp4_name)}};

  bool in_block = false;
  for (QString line : TemplateLines(*input.template_text)) {
    if (input.js_url_enabled && line.contains(kStartMarker)) {
      in_block = true;
      result.page += line + "\n";
      result.page +=
          "<script type=\"text/javascript\" src=\"" + HtmlText(input.js_url) + "\"></script>\n";
      continue;
    }
    if (input.js_url_enabled && line.contains(kEndMarker)) {
      in_block = false;
      result.page += line + "\n";
      continue;
    }
    const auto names_missing_file = [&line](const VideoFile& file) {
      return !file.written && line.contains(file.placeholder);
    };
    if (std::any_of(std::begin(video_files), std::end(video_files), names_missing_file)) continue;
    line.replace("#WIDTH", width);
    line.replace("#HEIGHT", height);
    // Before the job's own texts go in, so that none of them can be taken for these.
    for (const VideoFile& file : video_files) line.replace(file.placeholder, file.address);
    ReplaceFirst(line, "#LV", QString());
    ReplaceFirst(line, "#PAGE_TITLE_HOLDER", page_title);
    if (line.contains("#FLASHVARS_HOLDER")) {
      FlashVars flash_vars = ComposeFlashVars(input.flash_vars);
      ReplaceFirst(line, "#FLASHVARS_HOLDER", flash_vars.text);
      if (flash_vars.cleaned_redirect_url)
        result.cleaned_redirect_url = flash_vars.cleaned_redirect_url;
    }
    ReplaceFirst(line, "#SWF_FILE", swf_file);
    if (in_block) {
      result.script += " document.write('" + JavaScriptStringBody(line) + "');\n";
    } else {
      result.page += line + "\n";
    }
  }
  result.ok = true;
  return result;
}

}  // namespace publish
