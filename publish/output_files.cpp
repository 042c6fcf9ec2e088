#include "publish/output_files.h"

#include <QDir>
#include <QFile>

#include "encode/encoder_command_line.h"
#include "encode/encoder_contract.h"
#include "publish/file_copy.h"
#include "publish/output_file.h"
#include "publish/page_generation.h"
#include "publish/player_skin.h"
#include "publish/web_twin.h"
#include "store/regular_file.h"

namespace publish {

namespace {

constexpr char kPageNotCreated[] = "\r\nCould not create the specified HTML file!";
constexpr char kScriptNotCreated[] = "\r\nCould not create external JavaScript file!";

QString PlayerFileOrDefault(const PublishJob& job) {
  return job.player_file.isEmpty() ? QString(kDefaultPlayerFile) : job.player_file;
}

// The page's input, all but the frame size, which only the metadata tool can tell.
PageInput PageInputFor(const QString& folder, const PublishJob& job, const QString& video_name) {
  const QString resources = QDir(job.program_folder).filePath("resources");
  PageInput input;
  input.template_text = ReadTemplate(TemplatePath(job.program_folder));
  input.page_title = job.page_title;
  input.flash_vars = job.flash_vars;
  input.flash_vars.output_video = video_name;
  input.video_path = encode::JoinPath(folder, video_name);
  input.size_file_path = PlayerSizeFilePath(resources, PlayerFileOrDefault(job));
  input.size_rules = ReadPlayerSizeRules(input.size_file_path);
  input.players_url_enabled = job.players_url_enabled;
  input.players_url = job.players_url;
  input.js_url_enabled = job.js_url_enabled;
  input.js_url = job.js_url;
  return input;
}

// Whether the video the metadata tool is about to measure is an FLV at all: the input when it
// can be read (and so copied), otherwise the video already in the folder under its name.
bool VideoLooksLikeFlv(const PublishJob& job, const QString& video_path) {
  QFile file;
  const bool input = job.which_file == 2 && store::OpenRegularFileForReading(file, job.input_flv);
  if (!input && !store::OpenRegularFileForReading(file, video_path)) return false;
  return file.read(3) == "FLV";
}

// Whether a file may be put at `name`: nothing is there, or a file or a link (which is
// replaced, never followed).
bool MayPutFileAt(const OutputFolder& out, const QString& name) {
  const OutputKind kind = out.KindOf(name);
  return kind == OutputKind::kNothing || kind == OutputKind::kFile || kind == OutputKind::kLink;
}

// Shows the message the publish would otherwise stop with after copying, in the same order,
// and says whether there is none. The page is generated with a stand-in frame size, which
// only stands for whether the video is an FLV.
bool CheckBeforeWriting(const OutputFolder& out, const PublishJob& job, const PublishTools& tools,
                        const QString& video_name) {
  PageInput input = PageInputFor(out.path(), job, video_name);
  if (input.template_text && VideoLooksLikeFlv(job, input.video_path)) input.frame_size = {1, 1};
  const GeneratedPage page = GeneratePage(input);
  if (!page.ok) {
    tools.show_message(page.message);
    return false;
  }
  const QString page_name = CompleteHtmlName(job.output_html);
  if (!MayPutFileAt(out, page_name)) {
    tools.show_message(encode::JoinPath(out.path(), page_name) + kPageNotCreated);
    return false;
  }
  const QString script_name = ScriptFileName(job.js_url);
  if (job.js_url_enabled && (script_name.trimmed().isEmpty() || !MayPutFileAt(out, script_name))) {
    tools.show_message(encode::JoinPath(out.path(), script_name) + kScriptNotCreated);
    return false;
  }
  return true;
}

// Has the poster (and, when wanted, the MP4 twin) made beside the video, unless they are there
// already, not empty and no older than the video: the same FLV gives the same twin, and making
// it again would cost a whole encoding. Nothing here fails the publish: without them the page
// still plays in the Flash runtime. The names the page may use go to `result`.
void MakeWebTwin(OutputFolder& out, const PublishJob& job, const PublishTools& tools,
                 const QString& video_name, PublishResult& result) {
  // A twin never takes the name of another output of this publish.
  const QStringList taken = {video_name, CompleteHtmlName(job.output_html),
                             job.js_url_enabled ? ScriptFileName(job.js_url) : QString()};
  auto usable = [&](const QString& name) {
    return !name.isEmpty() && IsPlainOutputName(name) && !taken.contains(name) &&
           MayPutFileAt(out, name);
  };
  const QString poster = TwinName(video_name, "jpg");
  const QString mp4 = job.publish_mp4_twin ? TwinName(video_name, "mp4") : QString();

  QString poster_to_make, mp4_to_make;
  QStringList new_names;
  for (const auto& [name, to_make] :
       {std::pair{&poster, &poster_to_make}, std::pair{&mp4, &mp4_to_make}}) {
    if (!usable(*name) || out.IsUpToDateWith(*name, video_name)) continue;
    *to_make = encode::JoinPath(out.path(), *name);
    if (out.KindOf(*name) == OutputKind::kNothing) new_names << *name;
  }
  if ((!poster_to_make.isEmpty() || !mp4_to_make.isEmpty()) && tools.make_web_twin)
    tools.make_web_twin(encode::JoinPath(out.path(), video_name), poster_to_make, mp4_to_make);
  // What the companion made is taken back like the rest when the publish fails.
  for (const QString& name : new_names) {
    if (out.KindOf(name) != OutputKind::kNothing) out.Adopt(name);
  }
  result.poster_name = usable(poster) && out.IsUpToDateWith(poster, video_name) ? poster : "";
  result.mp4_name = usable(mp4) && out.IsUpToDateWith(mp4, video_name) ? mp4 : "";
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

bool IsPlainOutputName(const QString& name) {
  for (const QString& part : QString(name).replace('\\', '/').split('/')) {
    const QString trimmed = part.trimmed();
    if (trimmed.isEmpty() || trimmed.startsWith('.')) return false;
  }
  return true;
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
  tools.make_web_twin = [program_folder](const QString& flv_path, const QString& poster_path,
                                         const QString& mp4_path) {
    RunWebTwin(program_folder, flv_path, poster_path, mp4_path);
  };
  tools.show_message = std::move(show_message);
  return tools;
}

bool WriteOutputFiles(OutputFolder& out, const PublishJob& job, const PublishTools& tools,
                      PublishResult& result) {
  const QString page_name = CompleteHtmlName(job.output_html);
  result.output_html = page_name;
  result.generated_html.clear();
  result.generated_script.clear();

  PageInput input = PageInputFor(out.path(), job, result.output_video.value_or(job.output_video));
  input.poster_name = result.poster_name;
  input.mp4_name = result.mp4_name;
  // The size report is read (and deleted) only once the template is known to be there.
  if (input.template_text) input.frame_size = tools.read_frame_size(input.video_path);
  GeneratedPage page = GeneratePage(input);
  if (page.cleaned_redirect_url) result.redirect_url = page.cleaned_redirect_url;
  if (!page.ok) {
    tools.show_message(page.message);
    return false;
  }
  result.generated_html = page.page;
  result.generated_script = page.script;

  if (!out.WriteFile(page_name, WithCrLf(page.page))) {
    tools.show_message(encode::JoinPath(out.path(), page_name) + kPageNotCreated);
    return false;
  }
  if (job.js_url_enabled) {
    const QString script_name = ScriptFileName(job.js_url);
    if (script_name.isEmpty() || !out.WriteFile(script_name, WithCrLf(page.script))) {
      tools.show_message(encode::JoinPath(out.path(), script_name) + kScriptNotCreated);
      return false;
    }
  }
  return true;
}

PublishResult PublishPage(const PublishJob& job, const PublishTools& tools) {
  PublishResult result;
  QString folder;
  std::unique_ptr<OutputFolder> out;
  if (encode::OutputFolderExists(job.output_folder, &folder)) out = OutputFolder::Open(folder);
  if (!out) {
    tools.show_message("Specified output folder does not exist!");
    return result;
  }
  const QString video_name = encode::CompleteFlvName(job.output_video);
  result.output_video = video_name;
  result.output_html = CompleteHtmlName(job.output_html);
  const QString video_path = encode::JoinPath(folder, video_name);
  const QString resources = QDir(job.program_folder).filePath("resources");
  const QString runtime = QDir(resources).filePath("ruffle");
  const bool has_runtime = QDir(resources).exists("ruffle");

  if (job.which_file == 0) {
    // A page can still be made for an FLV that is already in the output folder.
    tools.show_message("Please choose a video file first!");
  }

  // Everything that can be known before writing is checked first: a project file may hold any
  // name, and a publish that stops should leave the folder as it found it.
  QStringList names = {video_name, *result.output_html};
  // A script address with no file name left has a message of its own, below.
  const QString script_name = ScriptFileName(job.js_url);
  if (job.js_url_enabled && !script_name.trimmed().isEmpty()) names << script_name;
  for (const QString& name : names) {
    if (!IsPlainOutputName(name) || out->KindOf(name) == OutputKind::kBehindLink) {
      tools.show_message(encode::JoinPath(folder, name) +
                         "\n\nThis name leads out of the output folder or starts with \".\"; "
                         "choose a plain file name.");
      return result;
    }
  }
  if (has_runtime) {
    const QString linked = FirstLinkedFolder(runtime, *out, "ruffle");
    if (!linked.isEmpty()) {
      tools.show_message(encode::JoinPath(folder, linked) +
                         "\n\nThis folder is a link; remove it and produce the page again.");
      return result;
    }
  }
  if (!CheckBeforeWriting(*out, job, tools, video_name)) return result;

  // A failed copy is not reported here: a missing video shows up when it is measured.
  // A video already there with the same bytes keeps its file, and so its time: the poster and
  // the MP4 twin made from it stay valid and are not made again.
  if (job.which_file == 2 && !out->HoldsSameBytes(video_name, job.input_flv))
    out->CopyFile(job.input_flv, video_name);
  out->CopyFile(QDir(resources).filePath(PlayerFileOrDefault(job)), "player.swf");
  if (has_runtime) CopyFolderWhereDifferent(runtime, *out, "ruffle");

  // The metadata tool rewrites the video where a link leads; a copy has replaced any link by
  // now, so one still there was left by something else and leads who knows where.
  if (out->KindOf(video_name) == OutputKind::kLink) {
    tools.show_message(video_path +
                       "\n\nThis file is a link; remove it and produce the page again.");
    return result;
  }
  tools.run_metadata_tool(video_path);
  MakeWebTwin(*out, job, tools, video_name, result);
  result.published = WriteOutputFiles(*out, job, tools, result);
  // A publish that failed takes back the files and folders it made (when `out` goes).
  if (result.published) out->Keep();
  return result;
}

}  // namespace publish
