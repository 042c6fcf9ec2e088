#include "publish/page_generation.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace publish {
namespace {

// A page input that succeeds: FLV 240x180, minimal 320x240, increments 0 and 20.
PageInput Input(const QByteArray& template_text) {
  PageInput input;
  input.template_text = template_text;
  input.video_path = "/out/clip.flv";
  input.frame_size = {240, 180};
  input.size_file_path = "/prog/resources/player.ini";
  input.size_rules = PlayerSizeRules{320, 240, 0, 20};
  input.page_title = "My Clip";
  input.flash_vars.output_video = "clip.flv";
  input.flash_vars.buffer_size = "5";
  return input;
}

const QString kVars =
    "contentPath=clip.flv&affiliateID=&bufferTime=5&autoPlay=true&startStreaming=false"
    "&hasVideoChrome=false";

TEST(GeneratePage, FillsEveryPlaceholder) {
  const GeneratedPage page =
      GeneratePage(Input("<title>#PAGE_TITLE_HOLDER</title>\r\n"
                         "<x w=#WIDTH h=#HEIGHT w2=#WIDTH h2=#HEIGHT>#LV#LV\n"
                         "<embed src=\"#SWF_FILE\" v=\"#FLASHVARS_HOLDER\" s=#SWF_FILE>\n"
                         "#PAGE_TITLE_HOLDER #PAGE_TITLE_HOLDER"));
  ASSERT_TRUE(page.ok) << page.message.toStdString();
  EXPECT_EQ(page.page,
            "<title>My Clip</title>\n"
            "<x w=320 h=240 w2=320 h2=240>#LV\n"
            "<embed src=\"player.swf\" v=\"" +
                kVars +
                "\" s=#SWF_FILE>\n"
                "My Clip #PAGE_TITLE_HOLDER\n");
  EXPECT_EQ(page.script, "");
  EXPECT_FALSE(page.cleaned_redirect_url);
}

// An empty <title> makes an invalid page and leaves the player nameless: the video's name
// stands in for a title not typed, or typed as blanks only.
TEST(GeneratePage, WithoutATitleTheVideosNameStandsIn) {
  for (const QString& typed : {QString(), QStringLiteral("  ")}) {
    PageInput input = Input("<title>#PAGE_TITLE_HOLDER</title>\naria-label=\"Video: #PAGE_TITLE_HOLDER\"");
    input.page_title = typed;
    input.video_path = "/out/holiday & <friends>.v1.flv";
    EXPECT_EQ(GeneratePage(input).page,
              "<title>holiday &amp; &lt;friends&gt;.v1</title>\n"
              "aria-label=\"Video: holiday &amp; &lt;friends&gt;.v1\"\n");
  }
}

TEST(GeneratePage, PlaceholdersAreSearchedAfterEarlierInsertions) {
  PageInput input = Input("#PAGE_TITLE_HOLDER #SWF_FILE");
  input.page_title = "t#SWF_FILE";
  input.players_url_enabled = true;
  input.players_url = "http://cdn/p/";
  EXPECT_EQ(GeneratePage(input).page, "thttp://cdn/p/player.swf #SWF_FILE\n");
  input.page_title = "#FLASHVARS_HOLDER";  // the title's own placeholder gets the FlashVars
  input.template_text = "#PAGE_TITLE_HOLDER|#FLASHVARS_HOLDER";
  EXPECT_EQ(GeneratePage(input).page, kVars + "|#FLASHVARS_HOLDER\n");
}

TEST(GeneratePage, LinesAndLineBreaks) {
  EXPECT_EQ(GeneratePage(Input("")).page, "\n");
  EXPECT_EQ(GeneratePage(Input("a\n")).page, "a\n\n");
  EXPECT_EQ(GeneratePage(Input("a\r\nb\r\n")).page, "a\nb\n\n");
  EXPECT_EQ(GeneratePage(Input("a\rb")).page, "a\rb\n");  // a lone CR is text
  const QByteArray long_line(5000, 'x');
  EXPECT_EQ(GeneratePage(Input(long_line + "\n#WIDTH")).page, QString(long_line) + "\n320\n");
  EXPECT_EQ(GeneratePage(Input("caf\xC3\xA9")).page, QString::fromUtf8("caf\xC3\xA9\n"));
}

TEST(GeneratePage, PageSizeRules) {
  PageInput input = Input("#WIDTHx#HEIGHT");
  EXPECT_EQ(GeneratePage(input).page, "320x240\n");
  input.frame_size = {400, 300};
  EXPECT_EQ(GeneratePage(input).page, "400x320\n");
  input.size_rules = PlayerSizeRules{0, 0, 0, 0};  // zeros are accepted
  EXPECT_EQ(GeneratePage(input).page, "400x300\n");
  input.size_rules = PlayerSizeRules{0, 0, 2147483647, 1};
  EXPECT_EQ(GeneratePage(input).page, "2147483647x301\n");
}

TEST(GeneratePage, FailuresInTheirOrderWithTheirMessages) {
  PageInput input = Input("x");
  input.template_text.reset();
  input.frame_size = {0, 0};
  input.size_rules.reset();
  EXPECT_EQ(GeneratePage(input).message, "Template.htm\r\nCould not open the template HTML file!");
  input.template_text = "x";
  EXPECT_EQ(GeneratePage(input).message, "/out/clip.flv\n\nCan't get movie resolution data.");
  input.frame_size = {320, 0};
  EXPECT_EQ(GeneratePage(input).message, "/out/clip.flv\n\nCan't get movie resolution data.");
  input.frame_size = {320, 240};
  EXPECT_EQ(GeneratePage(input).message, "/prog/resources/player.ini\n\nCan't find file.");
  for (int missing = 0; missing < 4; ++missing) {
    PlayerSizeRules rules{1, 1, 1, 1};
    int* values[] = {&rules.minimal_width, &rules.minimal_height, &rules.increment_width,
                     &rules.increment_height};
    *values[missing] = -1;
    input.size_rules = rules;
    const GeneratedPage page = GeneratePage(input);
    EXPECT_FALSE(page.ok);
    EXPECT_EQ(page.message, "/prog/resources/player.ini\n\nError in the file structure.");
  }
}

TEST(GeneratePage, ExternalScriptTakesThePlayerBlock) {
  PageInput input = Input(
      "head\n"
      "<!-- START Reelwright code --> #WIDTH\n"
      "<embed w=#WIDTH t='#PAGE_TITLE_HOLDER'>\n"
      "a\\b</script>\n"
      "\n"
      "x <!-- END Reelwright code -->\n"
      "tail #LV");
  input.page_title = "It's";
  input.js_url_enabled = true;
  input.js_url = "http://s/reel code.js";
  const GeneratedPage page = GeneratePage(input);
  ASSERT_TRUE(page.ok);
  EXPECT_EQ(page.page,
            "head\n"
            "<!-- START Reelwright code --> #WIDTH\n"
            "<script type=\"text/javascript\" src=\"http://s/reel code.js\"></script>\n"
            "x <!-- END Reelwright code -->\n"
            "tail \n");
  EXPECT_EQ(page.script,
            " document.write('<embed w=320 t=\\'It&#39;s\\'>');\n"
            " document.write('a\\\\b<\\/script>');\n"
            " document.write('');\n");
}

TEST(GeneratePage, MarkersWithoutTheScriptOptionAreText) {
  const QByteArray text = "<!-- START Reelwright code -->#WIDTH\n<!-- END Reelwright code -->";
  EXPECT_EQ(GeneratePage(Input(text)).page,
            "<!-- START Reelwright code -->320\n<!-- END Reelwright code -->\n");
  PageInput input = Input("a\n<!-- START Reelwright code -->\nb\n");
  input.js_url_enabled = true;
  input.js_url = "x.js";
  const GeneratedPage open_block = GeneratePage(input);  // no END: the rest is script
  EXPECT_EQ(open_block.page,
            "a\n<!-- START Reelwright code -->\n"
            "<script type=\"text/javascript\" src=\"x.js\"></script>\n");
  EXPECT_EQ(open_block.script, " document.write('b');\n document.write('');\n");
  input.template_text = "a\nb";  // no markers: all page, empty script
  EXPECT_EQ(GeneratePage(input).page, "a\nb\n");
  EXPECT_EQ(GeneratePage(input).script, "");
}

TEST(GeneratePage, FlashVarsCleanTheRedirectOnlyWhenUsed) {
  PageInput input = Input("no placeholder");
  input.flash_vars.redirect_url = "http://a";
  EXPECT_FALSE(GeneratePage(input).cleaned_redirect_url);
  input.template_text = "#FLASHVARS_HOLDER\n#FLASHVARS_HOLDER";
  const GeneratedPage page = GeneratePage(input);
  EXPECT_EQ(page.cleaned_redirect_url, QString("a"));
  EXPECT_EQ(page.page, kVars + "\n" + kVars + "\n");
}

TEST(GeneratePage, HostileValuesStayInsideTheirTitleOrAttribute) {
  PageInput input = Input(
      "<title>#PAGE_TITLE_HOLDER</title>\n"
      "<!-- START Reelwright code -->\n<!-- END Reelwright code -->\n"
      "<object data=\"#SWF_FILE\"><param name=\"flashvars\" value=\"#FLASHVARS_HOLDER\">");
  input.page_title = "</title><script>fetch('/.ssh/id_rsa')</script>";
  input.players_url_enabled = true;
  input.players_url = "\"><script>alert(1)</script><x y=\"/";
  input.js_url_enabled = true;
  input.js_url = "x.js\"></script><script>alert(2)//";
  input.flash_vars.affiliate_id = "a&redirectURL=javascript:alert(3)\"><script>";
  input.flash_vars.videos_url_enabled = true;
  input.flash_vars.videos_url = QString("v'/") + QChar(0) + "\x1b";
  const GeneratedPage page = GeneratePage(input);
  ASSERT_TRUE(page.ok);
  EXPECT_EQ(page.page,
            "<title>&lt;/title&gt;&lt;script&gt;fetch(&#39;/.ssh/id_rsa&#39;)&lt;/script&gt;"
            "</title>\n"
            "<!-- START Reelwright code -->\n"
            "<script type=\"text/javascript\" "
            "src=\"x.js&quot;&gt;&lt;/script&gt;&lt;script&gt;alert(2)//\"></script>\n"
            "<!-- END Reelwright code -->\n"
            "<object data=\"&quot;&gt;&lt;script&gt;alert(1)&lt;/script&gt;&lt;x y=&quot;/"
            "player.swf\"><param name=\"flashvars\" value=\"contentPath=v%27/clip.flv"
            "&affiliateID=a%26redirectURL%3Djavascript:alert(3)%22%3E%3Cscript%3E&bufferTime=5"
            "&autoPlay=true&startStreaming=false&hasVideoChrome=false\">\n");
}

TEST(GeneratePage, PosterAndTwinAreAddressedBesideTheVideoOrTheirLinesLeftOut) {
  PageInput input = Input(
      "a\n<img src=\"#POSTER_FILE\">\n<video poster=\"#POSTER_FILE\" src=\"#MP4_FILE\">\n"
      "'#MP4_FILE' #TITLE\nb");
  EXPECT_EQ(GeneratePage(input).page, "a\nb\n");  // neither written
  input.poster_name = "take #1 'x'.jpg";
  EXPECT_EQ(GeneratePage(input).page, "a\n<img src=\"take %231 &#39;x&#39;.jpg\">\nb\n");
  input.mp4_name = "sub/#PAGE_TITLE_HOLDER.mp4";  // the name is no placeholder
  input.flash_vars.videos_url_enabled = true;
  input.flash_vars.videos_url = "http://cdn\\v/";
  EXPECT_EQ(GeneratePage(input).page,
            "a\n<img src=\"http://cdn/v/take %231 &#39;x&#39;.jpg\">\n"
            "<video poster=\"http://cdn/v/take %231 &#39;x&#39;.jpg\" "
            "src=\"http://cdn/v/sub/%23PAGE_TITLE_HOLDER.mp4\">\n"
            "'http://cdn/v/sub/%23PAGE_TITLE_HOLDER.mp4' #TITLE\nb\n");
}

TEST(JavaScriptStringBody, EscapesWhatWouldEndOrChangeTheString) {
  EXPECT_EQ(JavaScriptStringBody("plain \"text\" <b>"), "plain \"text\" <b>");
  EXPECT_EQ(JavaScriptStringBody("'\\</x"), "\\'\\\\<\\/x");
  EXPECT_EQ(JavaScriptStringBody(QString("a\rb\nc") + QChar(0x2028) + QChar(0x2029)),
            "a\\rb\\nc\\u2028\\u2029");
  EXPECT_EQ(JavaScriptStringBody("<"), "<");
}

TEST(PlayerSizeFile, PathIsTheLowerCasedNameWithIni) {
  EXPECT_EQ(PlayerSizeFilePath("/Prog/resources", "Skin-Blue.SWF"),
            "/Prog/resources/skin-blue.ini");
  EXPECT_EQ(PlayerSizeFilePath("/p", "a.swf.swf"), "/p/a.ini.ini");
}

TEST(PlayerSizeFile, ReadsTheFourNumbers) {
  QTemporaryDir dir;
  const QString path = dir.filePath("p.ini");
  EXPECT_FALSE(ReadPlayerSizeRules(path));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("[Minimal Dimensions]\r\nWidth=320\r\nheight = 240\r\n[Increments]\r\nWidth=0\r\n");
  file.close();
  const std::optional<PlayerSizeRules> rules = ReadPlayerSizeRules(path);
  ASSERT_TRUE(rules);
  EXPECT_EQ(rules->minimal_width, 320);
  EXPECT_EQ(rules->minimal_height, 240);
  EXPECT_EQ(rules->increment_width, 0);
  EXPECT_EQ(rules->increment_height, -1);  // missing
}

TEST(ReadTemplate, MissingFileOrFolderIsNothing) {
  QTemporaryDir dir;
  EXPECT_FALSE(ReadTemplate(dir.filePath("none.htm")));
  EXPECT_FALSE(ReadTemplate(dir.path()));
  EXPECT_EQ(TemplatePath("/prog"), "/prog/resources/template.htm");
}

}  // namespace
}  // namespace publish
