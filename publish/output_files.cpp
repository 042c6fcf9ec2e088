#include "publish/output_files.h"

#include <QDir>

#include "encode/encoder_command_line.h"
#include "encode/encoder_contract.h"
#include "publish/file_copy.h"
#include "publish/page_generation.h"
#include "publish/player_skin.h"
#include "store/atomic_file.h"

namespace publish {

namespace {

QString PlayerFileOrDefault(const PublishJob& job) {
  return job.player_file.isEmpty() ? QString(kDefaultPlayerFile) : job.player_file;
}

}  // namespace

QString CompleteHtmlName(const QString& output_html) {
  QString name = output_html.trimmed();
  if (name.isEmpty()) name = "index.html";
  if (!name.toLower().contains(".htm")) name += ".html";
  return name;
}

QString ScriptFileName(const QString& js_url) {
  // Both separators count, whichever comes last, so that the name can never lead into
  // another folder ("a\..\../x.js" is "x.js").
  const qsizetype cut = std::max(js_url.lastIndexOf('\\'), js_url.lastIndexOf('/'));
  const QString name = js_url.mid(cut + 1);
  if (name == "." || name == "..") return {};
  return name;
}

QByteArray WithCrLf(const QString& text) {
  QByteArray bytes = text.toUtf8();
  bytes.replace("\n", "\r\n");
  return bytes;
}

PublishTools PublishTools::Real(const QString& program_folder,
                                std::function<void(const QString&)> show_message) {
  PublishTools tools;
  tools.run_metadata_tool = [program_folder](const QString& flv_path) {
    encode::RunMetadataTool(program_folder, flv_path, true);
  };
  tools.read_frame_size = [](const QString& flv_path) {
    return encode::ReadFlvFrameSize(flv_path);
  };
  tools.show_message = std::move(show_message);
  return tools;
}

bool WriteOutputFiles(const QString& folder, const PublishJob& job, const PublishTools& tools,
                      PublishResult& result) {
  const QString page_name = CompleteHtmlName(job.output_html);
  result.output_html = page_name;
  result.generated_html.clear();
  result.generated_script.clear();

  const QString resources = QDir(job.program_folder).filePath("resources");
  PageInput input;
  input.template_text = ReadTemplate(TemplatePath(job.program_folder));
  input.page_title = job.page_title;
  input.flash_vars = job.flash_vars;
  input.flash_vars.output_video = result.output_video.value_or(job.output_video);
  input.video_path = encode::JoinPath(folder, input.flash_vars.output_video);
  // The size report is read (and deleted) only once the template is known to be there.
  if (input.template_text) input.frame_size = tools.read_frame_size(input.video_path);
  input.size_file_path = PlayerSizeFilePath(resources, PlayerFileOrDefault(job));
  input.size_rules = ReadPlayerSizeRules(input.size_file_path);
  input.players_url_enabled = job.players_url_enabled;
  input.players_url = job.players_url;
  input.js_url_enabled = job.js_url_enabled;
  input.js_url = job.js_url;

  GeneratedPage page = GeneratePage(input);
  if (page.cleaned_redirect_url) result.redirect_url = page.cleaned_redirect_url;
  if (!page.ok) {
    tools.show_message(page.message);
    return false;
  }
  result.generated_html = page.page;
  result.generated_script = page.script;

  const QString page_path = encode::JoinPath(folder, page_name);
  if (!store::ReplaceFileContents(page_path, WithCrLf(page.page))) {
    tools.show_message(page_path + "\r\nCould not create the specified HTML file!");
    return false;
  }
  if (job.js_url_enabled) {
    const QString script_name = ScriptFileName(job.js_url);
    const QString script_path = encode::JoinPath(folder, script_name);
    if (script_name.isEmpty() || !store::ReplaceFileContents(script_path, WithCrLf(page.script))) {
      tools.show_message(script_path + "\r\nCould not create external JavaScript file!");
      return false;
    }
  }
  return true;
}

PublishResult PublishPage(const PublishJob& job, const PublishTools& tools) {
  PublishResult result;
  QString folder;
  if (!encode::OutputFolderExists(job.output_folder, &folder)) {
    tools.show_message("Specified output folder does not exist!");
    return result;
  }
  const QString video_name = encode::CompleteFlvName(job.output_video);
  result.output_video = video_name;
  const QString video_path = encode::JoinPath(folder, video_name);

  // A failed copy is not reported here: a missing video shows up when it is measured.
  if (job.which_file == 0) {
    // A page can still be made for an FLV that is already in the output folder.
    tools.show_message("Please choose a video file first!");
  } else if (job.which_file == 2) {
    CopyFileReplacing(job.input_flv, video_path);
  }
  const QString resources = QDir(job.program_folder).filePath("resources");
  CopyFileReplacing(QDir(resources).filePath(PlayerFileOrDefault(job)),
                    encode::JoinPath(folder, "player.swf"));
  if (QDir(resources).exists("ruffle")) {
    CopyFolderWhereDifferent(QDir(resources).filePath("ruffle"),
                             encode::JoinPath(folder, "ruffle"));
  }

  tools.run_metadata_tool(video_path);
  result.published = WriteOutputFiles(folder, job, tools, result);
  return result;
}

}  // namespace publish
