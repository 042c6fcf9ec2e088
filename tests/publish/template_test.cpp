// The shipped page template through page generation: a page a validator accepts, that loads
// the web runtime and the player, and whose external script writes exactly the player block.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <set>

#include "publish/page_generation.h"
#include "run_program.h"

namespace publish {
namespace {

QByteArray Read(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString TemplateSource() {
  return REELWRIGHT_SOURCE_DIR "/outside/players/template.htm";
}

PageInput RealInput() {
  PageInput input;
  input.template_text = Read(TemplateSource());
  input.frame_size = {320, 240};
  input.size_rules = PlayerSizeRules{0, 0, 0, 20};
  input.page_title = "Tom's \"clip\" \\ & co";
  input.flash_vars.output_video = "clip.flv";
  input.flash_vars.buffer_size = "5";
  input.flash_vars.affiliate_id = "a'b";
  return input;
}

// Tags of an HTML text, in order: "p" for a start tag, "/p" for an end tag. Comments,
// the doctype and the text of script and style elements are skipped.
QStringList Tags(const QString& html) {
  QStringList tags;
  static const QRegularExpression tag(
      R"(<!--.*?-->|<!DOCTYPE[^>]*>|<(/?)([a-zA-Z0-9]+)[^>]*>)",
      QRegularExpression::DotMatchesEverythingOption | QRegularExpression::CaseInsensitiveOption);
  qsizetype at = 0;
  while (true) {
    const QRegularExpressionMatch match = tag.match(html, at);
    if (!match.hasMatch()) break;
    at = match.capturedEnd();
    if (match.captured(2).isEmpty()) continue;
    const QString name = match.captured(2).toLower();
    tags << match.captured(1) + name;
    if (match.captured(1).isEmpty() && (name == "script" || name == "style")) {
      const qsizetype end = html.indexOf("</" + name, at, Qt::CaseInsensitive);
      if (end < 0) break;
      at = end;
    }
  }
  return tags;
}

TEST(PageTemplate, IsCopiedIntoTheProgramFolder) {
  EXPECT_FALSE(Read(TemplateSource()).isEmpty());
  EXPECT_EQ(Read(REELWRIGHT_PROGRAM_DIR "/resources/template.htm"), Read(TemplateSource()));
}

TEST(PageTemplate, GivesAWellFormedModernPage) {
  const GeneratedPage page = GeneratePage(RealInput());
  ASSERT_TRUE(page.ok);
  const QString& html = page.page;
  EXPECT_TRUE(html.startsWith("<!DOCTYPE html>\n"));
  EXPECT_TRUE(html.contains("<meta charset=\"utf-8\">"));
  EXPECT_TRUE(html.contains("name=\"viewport\""));
  EXPECT_TRUE(html.contains("<title>Tom&#39;s &quot;clip&quot; \\ &amp; co</title>"));
  EXPECT_TRUE(html.contains("<script src=\"ruffle/ruffle.js\" defer></script>"));
  EXPECT_TRUE(html.contains("autoplay: \"on\""));
  EXPECT_TRUE(html.contains("unmuteOverlay: \"hidden\""));
  EXPECT_TRUE(html.contains("width=\"320\" height=\"260\""));
  EXPECT_TRUE(html.contains("src=\"player.swf\""));
  EXPECT_TRUE(html.contains("contentPath=clip.flv&affiliateID=a%27b&bufferTime=5"));
  for (const char* placeholder :
       {"#WIDTH", "#HEIGHT", "#LV", "#PAGE_TITLE_HOLDER", "#FLASHVARS_HOLDER", "#SWF_FILE"}) {
    EXPECT_FALSE(html.contains(placeholder)) << placeholder;
  }

  // Every element that is not void is closed in order; the embed sits inside the object.
  const std::set<QString> void_elements = {"meta", "link", "param", "embed", "br", "img"};
  QStringList open;
  bool embed_in_object = false;
  for (const QString& tag : Tags(html)) {
    if (tag.startsWith('/')) {
      ASSERT_FALSE(open.isEmpty()) << tag.toStdString();
      ASSERT_EQ("/" + open.takeLast(), tag);
    } else if (!void_elements.count(tag)) {
      open << tag;
    } else if (tag == "embed") {
      embed_in_object = open.contains("object");
    }
  }
  EXPECT_TRUE(open.isEmpty()) << open.join(' ').toStdString();
  EXPECT_TRUE(embed_in_object);
  EXPECT_EQ(Tags(html).mid(0, 2), QStringList({"html", "head"}));
}

TEST(PageTemplate, ValidatorFindsNoErrors) {
  PageInput input = RealInput();
  input.page_title = "My clip";  // a title that is itself valid HTML text
  const GeneratedPage page = GeneratePage(input);
  ASSERT_TRUE(page.ok);
  QTemporaryDir dir;
  const QString path = dir.filePath("index.html");
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(page.page.toUtf8());
  file.close();
  const test_support::ProgramRun run =
      test_support::RunProgram("tidy", {"-q", "-e", "--show-warnings", "yes", path});
  ASSERT_TRUE(run.finished) << "tidy is needed: run scripts/setup";
  // tidy exits with 2 for errors, 1 for warnings only.
  EXPECT_LT(run.exit_code, 2) << run.err.toStdString();
  EXPECT_GE(run.exit_code, 0) << run.err.toStdString();
}

TEST(PageTemplate, ExternalScriptWritesExactlyThePlayerBlock) {
  PageInput input = RealInput();
  const GeneratedPage inline_page = GeneratePage(input);
  input.js_url_enabled = true;
  input.js_url = "reelcode.js";
  const GeneratedPage page = GeneratePage(input);
  ASSERT_TRUE(inline_page.ok && page.ok);

  const qsizetype start = inline_page.page.indexOf("<!-- START Reelwright code -->\n") + 31;
  const qsizetype end = inline_page.page.indexOf("<!-- END Reelwright code -->");
  ASSERT_LT(start, end);
  const QStringList block =
      inline_page.page.mid(start, end - start).split('\n', Qt::SkipEmptyParts);
  EXPECT_TRUE(
      page.page.contains("<!-- START Reelwright code -->\n"
                         "<script type=\"text/javascript\" src=\"reelcode.js\"></script>\n"
                         "<!-- END Reelwright code -->\n"));

  // Run the script in a JavaScript engine with a document that records what is written.
  QTemporaryDir dir;
  QFile harness(dir.filePath("run.js"));
  ASSERT_TRUE(harness.open(QIODevice::WriteOnly));
  harness.write("const written = []; const document = { write: (s) => written.push(s) };\n");
  harness.write(page.script.toUtf8());
  harness.write("process.stdout.write(JSON.stringify(written));\n");
  harness.close();
  const test_support::ProgramRun run = test_support::RunProgram("node", {harness.fileName()});
  ASSERT_TRUE(run.finished) << "node is needed: run scripts/setup";
  ASSERT_EQ(run.exit_code, 0) << run.err.toStdString();
  QStringList written;
  for (const QJsonValue& value : QJsonDocument::fromJson(run.out.toUtf8()).array())
    written << value.toString();
  EXPECT_EQ(written, block);
  EXPECT_TRUE(page.script.contains("<\\/script>"));
}

}  // namespace
}  // namespace publish
