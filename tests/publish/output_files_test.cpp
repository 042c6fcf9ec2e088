#include "publish/output_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace publish {
namespace {

QByteArray Read(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void Write(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).path());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(bytes);
}

ino_t Inode(const QString& path) {
  struct stat info {};
  return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

// A program folder with a template, two players with size files and a web runtime, an empty
// output folder, and tools that record what publishing asks of them.
class PublishPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Write(Program("resources/template.htm"),
          "<title>#PAGE_TITLE_HOLDER</title>\n"
          "<!-- START Reelwright code -->\n"
          "<embed src='#SWF_FILE' w=#WIDTH h=#HEIGHT v='#FLASHVARS_HOLDER'>\n"
          "<!-- END Reelwright code -->\n");
    Write(Program("resources/player.swf"), "default player");
    Write(Program("resources/player.ini"),
          "[Minimal Dimensions]\nWidth=0\nHeight=0\n[Increments]\nWidth=0\nHeight=0\n");
    Write(Program("resources/skin-Blue.swf"), "blue player");
    Write(Program("resources/skin-blue.ini"),
          "[Minimal Dimensions]\nWidth=0\nHeight=0\n[Increments]\nWidth=10\nHeight=20\n");
    Write(Program("resources/ruffle/ruffle.js"), "runtime");
    Write(Program("resources/ruffle/core/runtime.wasm"), "wasm");
    Write(input_.filePath("in.flv"), "the input video");
    ASSERT_TRUE(QDir().mkpath(Out()));

    job_.program_folder = program_.path();
    job_.output_folder = Out();
    job_.output_video = "movie";
    job_.output_html = "";
    job_.which_file = 2;
    job_.input_flv = input_.filePath("in.flv");
    job_.player_file = "skin-Blue.swf";
    job_.page_title = "Title";
    job_.flash_vars.buffer_size = "5";

    tools_.run_metadata_tool = [this](const QString& path) { measured_ << "run " + path; };
    tools_.read_frame_size = [this](const QString& path) {
      measured_ << "read " + path;
      return frame_size_;
    };
    tools_.show_message = [this](const QString& text) { messages_ << text; };
  }

  QString Program(const QString& name) const { return QDir(program_.path()).filePath(name); }
  QString Out(const QString& name = {}) const {
    const QString out = QDir(output_.path()).filePath("out");
    return name.isEmpty() ? out : QDir(out).filePath(name);
  }

  QTemporaryDir program_, output_, input_;
  PublishJob job_;
  PublishTools tools_;
  encode::FrameSize frame_size_{320, 240};
  QStringList measured_, messages_;
};

TEST_F(PublishPageTest, WritesEveryFileAndGivesTheNamesBack) {
  job_.output_folder = "  " + Out() + "//  ";
  const PublishResult result = PublishPage(job_, tools_);
  EXPECT_TRUE(result.published);
  EXPECT_EQ(messages_, QStringList());
  EXPECT_EQ(result.output_video, QString("movie.flv"));
  EXPECT_EQ(result.output_html, QString("index.html"));
  EXPECT_EQ(measured_, QStringList({"run " + Out("movie.flv"), "read " + Out("movie.flv")}));
  EXPECT_EQ(Read(Out("movie.flv")), "the input video");
  EXPECT_EQ(Read(Out("player.swf")), "blue player");
  EXPECT_EQ(Read(Out("ruffle/ruffle.js")), "runtime");
  EXPECT_EQ(Read(Out("ruffle/core/runtime.wasm")), "wasm");
  const QByteArray page =
      "<title>Title</title>\r\n"
      "<!-- START Reelwright code -->\r\n"
      "<embed src='player.swf' w=330 h=260 v='contentPath=movie.flv&affiliateID=&bufferTime=5"
      "&autoPlay=true&startStreaming=false&hasVideoChrome=false'>\r\n"
      "<!-- END Reelwright code -->\r\n"
      "\r\n";
  EXPECT_EQ(Read(Out("index.html")), page);
  EXPECT_EQ(result.generated_html.toUtf8(), QByteArray(page).replace("\r\n", "\n"));
  EXPECT_EQ(result.generated_script, "");
  EXPECT_EQ(QDir(Out()).entryList(QDir::Files),
            QStringList({"index.html", "movie.flv", "player.swf"}));  // nothing left beside
}

TEST_F(PublishPageTest, NamesTheUserTypedAreCompleted) {
  struct Case {
    QString video, html, video_after, html_after;
  };
  const Case cases[] = {{"MOVIE.FLV", " page ", "MOVIE.FLV", "page.html"},
                        {"my.flv.old", "Page.HTM", "my.flv.old", "Page.HTM"},
                        {"", "a.html.bak", ".flv", "a.html.bak"},
                        {"m", "   ", "m.flv", "index.html"}};
  for (const Case& c : cases) {
    job_.output_video = c.video;
    job_.output_html = c.html;
    const PublishResult result = PublishPage(job_, tools_);
    EXPECT_TRUE(result.published) << c.video.toStdString();
    EXPECT_EQ(result.output_video, c.video_after);
    EXPECT_EQ(result.output_html, c.html_after);
    EXPECT_TRUE(QFile::exists(Out(c.html_after)));
    EXPECT_EQ(Read(Out(c.video_after)), "the input video");
  }
}

TEST_F(PublishPageTest, MissingFolderStopsBeforeAnything) {
  for (const QString& folder : {QString(), QString("  "), Out("nowhere")}) {
    job_.output_folder = folder;
    const PublishResult result = PublishPage(job_, tools_);
    EXPECT_FALSE(result.published);
    EXPECT_FALSE(result.output_video);
  }
  EXPECT_EQ(messages_, QStringList(3, "Specified output folder does not exist!"));
  EXPECT_TRUE(measured_.isEmpty());
  EXPECT_TRUE(QDir(Out()).isEmpty());
}

TEST_F(PublishPageTest, NoInputWarnsAndGoesOnWithTheVideoInTheFolder) {
  job_.which_file = 0;
  Write(Out("movie.flv"), "already here");
  const PublishResult result = PublishPage(job_, tools_);
  EXPECT_TRUE(result.published);
  EXPECT_EQ(messages_, QStringList({"Please choose a video file first!"}));
  EXPECT_EQ(Read(Out("movie.flv")), "already here");
}

TEST_F(PublishPageTest, GenerationFailureWritesNoPage) {
  job_.which_file = 0;
  frame_size_ = {0, 0};
  Write(Out("index.html"), "old page");
  const PublishResult result = PublishPage(job_, tools_);
  EXPECT_FALSE(result.published);
  EXPECT_EQ(messages_, QStringList({"Please choose a video file first!",
                                    Out("movie.flv") + "\n\nCan't get movie resolution data."}));
  EXPECT_EQ(Read(Out("index.html")), "old page");
  EXPECT_EQ(result.output_html, QString("index.html"));
}

TEST_F(PublishPageTest, MissingTemplateIsReportedBeforeTheSizeIsRead) {
  QFile::remove(Program("resources/template.htm"));
  EXPECT_FALSE(PublishPage(job_, tools_).published);
  EXPECT_EQ(messages_, QStringList({"Template.htm\r\nCould not open the template HTML file!"}));
  EXPECT_EQ(measured_, QStringList({"run " + Out("movie.flv")}));
}

TEST_F(PublishPageTest, NoValidPlayerUsesTheDefaultPlayerAndItsSizeFile) {
  job_.player_file = "player.swf";
  EXPECT_TRUE(PublishPage(job_, tools_).published);
  EXPECT_EQ(Read(Out("player.swf")), "default player");
  EXPECT_TRUE(Read(Out("index.html")).contains("w=320 h=240"));
  QFile::remove(Program("resources/player.ini"));
  EXPECT_FALSE(PublishPage(job_, tools_).published);
  EXPECT_EQ(messages_.last(), Program("resources/player.ini") + "\n\nCan't find file.");
}

TEST_F(PublishPageTest, ExternalScriptFileNames) {
  job_.js_url_enabled = true;
  const std::pair<QString, QString> cases[] = {{"reelcode.js", "reelcode.js"},
                                               {"http://site/js/reelcode.js", "reelcode.js"},
                                               {"C:\\web\\a.js", "a.js"},
                                               {"x\\..\\../b.js", "b.js"}};
  for (const auto& [url, name] : cases) {
    job_.js_url = url;
    EXPECT_TRUE(PublishPage(job_, tools_).published) << url.toStdString();
    EXPECT_EQ(Read(Out(name)),
              " document.write('<embed src=\\'player.swf\\' w=330 h=260 "
              "v=\\'contentPath=movie.flv&affiliateID=&bufferTime=5&autoPlay=true"
              "&startStreaming=false&hasVideoChrome=false\\'>');\r\n");
    EXPECT_TRUE(Read(Out("index.html"))
                    .contains("<script type=\"text/javascript\" src=\"" + url.toUtf8() +
                              "\"></script>\r\n"));
  }
  EXPECT_TRUE(messages_.isEmpty());
  EXPECT_FALSE(QFile::exists(QDir(output_.path()).filePath("b.js")));
}

TEST_F(PublishPageTest, ScriptFileThatCannotBeMadeKeepsThePage) {
  job_.js_url_enabled = true;
  for (const QString url : {"http://site/", "..", "sub/"}) {
    job_.js_url = url;
    QFile::remove(Out("index.html"));
    EXPECT_FALSE(PublishPage(job_, tools_).published);
    EXPECT_TRUE(QFile::exists(Out("index.html")));
  }
  const QString expected = Out("") + "/\r\nCould not create external JavaScript file!";
  EXPECT_EQ(messages_, QStringList(3, expected));
}

TEST_F(PublishPageTest, PageFileThatCannotBeMadeIsReported) {
  QDir(Out()).mkdir("taken.html");
  job_.output_html = "taken.html";
  job_.js_url_enabled = true;
  job_.js_url = "s.js";
  EXPECT_FALSE(PublishPage(job_, tools_).published);
  EXPECT_EQ(messages_,
            QStringList({Out("taken.html") + "\r\nCould not create the specified HTML file!"}));
  EXPECT_FALSE(QFile::exists(Out("s.js")));
}

TEST_F(PublishPageTest, RepublishRewritesThePageAndOnlyChangedRuntimeFiles) {
  Write(Out("index.html"), QByteArray(10000, 'x'));  // a longer old page leaves no tail
  ASSERT_TRUE(PublishPage(job_, tools_).published);
  EXPECT_TRUE(Read(Out("index.html")).startsWith("<title>Title</title>\r\n"));
  EXPECT_LT(Read(Out("index.html")).size(), 1000);

  const ino_t js = Inode(Out("ruffle/ruffle.js"));
  Write(Out("ruffle/core/runtime.wasm"), "damaged");
  Write(Out("ruffle/mine.txt"), "user's own");
  measured_.clear();
  ASSERT_TRUE(PublishPage(job_, tools_).published);
  EXPECT_EQ(Inode(Out("ruffle/ruffle.js")), js);  // unchanged: not copied again
  EXPECT_EQ(Read(Out("ruffle/core/runtime.wasm")), "wasm");
  EXPECT_EQ(Read(Out("ruffle/mine.txt")), "user's own");
  EXPECT_EQ(measured_.size(), 2);  // measured afresh
}

TEST_F(PublishPageTest, InputThatIsAlreadyTheOutputVideoStaysWhole) {
  Write(Out("movie.flv"), "in place");
  job_.input_flv = Out("movie.flv");
  EXPECT_TRUE(PublishPage(job_, tools_).published);
  EXPECT_EQ(Read(Out("movie.flv")), "in place");
  job_.input_flv = Out("missing.flv");  // a failed copy is silent and keeps the old video
  EXPECT_TRUE(PublishPage(job_, tools_).published);
  EXPECT_EQ(Read(Out("movie.flv")), "in place");
  EXPECT_TRUE(messages_.isEmpty());
}

TEST(WithCrLf, EveryLineFeedGetsACarriageReturn) {
  EXPECT_EQ(WithCrLf("a\nb\n\n"), "a\r\nb\r\n\r\n");
  EXPECT_EQ(WithCrLf(QString::fromUtf8("\xC3\xA9")), "\xC3\xA9");
  EXPECT_EQ(ScriptFileName("a/b\\c"), "c");
  EXPECT_EQ(ScriptFileName("."), "");
}

}  // namespace
}  // namespace publish
