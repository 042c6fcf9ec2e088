#include "publish/output_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <functional>

#include "publish/web_twin.h"
#include "qt_printers.h"

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

// Every entry under `root`, links not followed: "name -> target" for a link, "name/" for a
// folder, "name mode bytes" for a file.
QStringList Snapshot(const QString& root) {
  QStringList entries;
  QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QFileInfo info(it.next());
    QString entry = QDir(root).relativeFilePath(info.filePath());
    if (info.isSymLink()) {
      entry += " -> " + info.symLinkTarget();
    } else if (info.isDir()) {
      entry += "/";
    } else {
      struct stat mode {};
      ::stat(QFile::encodeName(info.filePath()).constData(), &mode);
      entry += " " + QString::number(mode.st_mode & 0777, 8) + " " + Read(info.filePath());
    }
    entries << entry;
  }
  entries.sort();
  return entries;
}

mode_t Mode(const QString& path) {
  struct stat info {};
  return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 0777 : 0;
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
    Write(input_.filePath("in.flv"), "FLV the input video");
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
  EXPECT_EQ(Read(Out("movie.flv")), "FLV the input video");
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
                        {"clip", "a.html.bak", "clip.flv", "a.html.bak"},
                        {"m", "   ", "m.flv", "index.html"}};
  for (const Case& c : cases) {
    job_.output_video = c.video;
    job_.output_html = c.html;
    const PublishResult result = PublishPage(job_, tools_);
    EXPECT_TRUE(result.published) << c.video.toStdString();
    EXPECT_EQ(result.output_video, c.video_after);
    EXPECT_EQ(result.output_html, c.html_after);
    EXPECT_TRUE(QFile::exists(Out(c.html_after)));
    EXPECT_EQ(Read(Out(c.video_after)), "FLV the input video");
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
  Write(Out("movie.flv"), "FLV already here");
  const PublishResult result = PublishPage(job_, tools_);
  EXPECT_TRUE(result.published);
  EXPECT_EQ(messages_, QStringList({"Please choose a video file first!"}));
  EXPECT_EQ(Read(Out("movie.flv")), "FLV already here");
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

TEST_F(PublishPageTest, MissingTemplateIsReportedBeforeAnythingRuns) {
  QFile::remove(Program("resources/template.htm"));
  EXPECT_FALSE(PublishPage(job_, tools_).published);
  EXPECT_EQ(messages_, QStringList({"Template.htm\r\nCould not open the template HTML file!"}));
  EXPECT_TRUE(measured_.isEmpty());
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

TEST_F(PublishPageTest, ScriptAddressWithoutAFileNameStopsBeforeWriting) {
  job_.js_url_enabled = true;
  for (const QString url : {"http://site/", "..", "sub/"}) {
    job_.js_url = url;
    EXPECT_FALSE(PublishPage(job_, tools_).published);
  }
  const QString expected = Out("") + "/\r\nCould not create external JavaScript file!";
  EXPECT_EQ(messages_, QStringList(3, expected));
  EXPECT_TRUE(QDir(Out()).isEmpty());
}

TEST_F(PublishPageTest, PageFileThatCannotBeMadeIsReported) {
  QDir(Out()).mkdir("taken.html");
  job_.output_html = "taken.html";
  job_.js_url_enabled = true;
  job_.js_url = "s.js";
  EXPECT_FALSE(PublishPage(job_, tools_).published);
  EXPECT_EQ(messages_,
            QStringList({Out("taken.html") + "\r\nCould not create the specified HTML file!"}));
  EXPECT_EQ(QDir(Out()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
            QStringList({"taken.html"}));
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

int64_t ModifiedNs(const QString& path) {
  struct stat info {};
  if (::stat(QFile::encodeName(path).constData(), &info) != 0) return -1;
  return int64_t(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
}

// A server sends a compressed copy ("X.br") only when it is no older than its file: each copy
// is written after its file, whatever order the folder lists them in, also when both changed.
TEST_F(PublishPageTest, CompressedCopiesAreNeverOlderThanTheirFile) {
  const QStringList names = {"ruffle/a.js", "ruffle/b.wasm", "ruffle/core/c.wasm", "ruffle/d.js"};
  for (const QByteArray& version : {QByteArray("one"), QByteArray("two")}) {
    for (const QString& name : names) {
      Write(Program("resources/" + name + ".br"), version + " brotli");
      Write(Program("resources/" + name + ".gz"), version + " gzip");
      Write(Program("resources/" + name), QByteArray(1 << 20, 'x') + version);
    }
    ASSERT_TRUE(PublishPage(job_, tools_).published);
    for (const QString& name : names) {
      const int64_t file = ModifiedNs(Out(name));
      for (const char* suffix : {".br", ".gz"}) {
        EXPECT_EQ(Read(Out(name + suffix)), version + (suffix[1] == 'b' ? " brotli" : " gzip"));
        EXPECT_GE(ModifiedNs(Out(name + suffix)), file) << name.toStdString() << suffix;
      }
    }
  }
}

TEST_F(PublishPageTest, InputThatIsAlreadyTheOutputVideoStaysWhole) {
  Write(Out("movie.flv"), "FLV in place");
  job_.input_flv = Out("movie.flv");
  EXPECT_TRUE(PublishPage(job_, tools_).published);
  EXPECT_EQ(Read(Out("movie.flv")), "FLV in place");
  job_.input_flv = Out("missing.flv");  // a failed copy is silent and keeps the old video
  EXPECT_TRUE(PublishPage(job_, tools_).published);
  EXPECT_EQ(Read(Out("movie.flv")), "FLV in place");
  EXPECT_TRUE(messages_.isEmpty());
}

TEST(IsPlainOutputName, NamesLeadingOutOrHiddenAreRefused) {
  for (const QString name :
       {"", "  ", "../x.html", "a/../../x", "/etc/x.html", ".bashrc", "sub/.x", "..", ".",
        "..\\x.html", "a\\..\\..\\x", "\\etc\\x", "sub/", "a//b", " .profile", "sub/ /x", ".flv"})
    EXPECT_FALSE(IsPlainOutputName(name)) << name.toStdString();
  for (const QString name : {"index.html", "sub/page.html", "sub\\page.html", "my page.htm",
                             "x..y.flv", "a/b/c.js", "movie.flv.old"})
    EXPECT_TRUE(IsPlainOutputName(name)) << name.toStdString();
}

TEST_F(PublishPageTest, RefusedNamesStopBeforeAnythingIsWritten) {
  struct Case {
    QString video, html, js_url, refused;
  };
  const Case cases[] = {{"../evil", "", "", "../evil.flv"},
                        {"/tmp/evil", "", "", "/tmp/evil.flv"},
                        {"", "", "", ".flv"},
                        {"movie", "sub/.x.html", "", "sub/.x.html"},
                        {"movie", "..\\x", "", "..\\x.html"},
                        {"movie", "/etc/x.html", "", "/etc/x.html"},
                        {"movie", "", "http://site/.bashrc", ".bashrc"},
                        {"movie", "", "JSURL=1,a/ .profile", " .profile"}};
  for (const Case& c : cases) {
    messages_.clear();
    job_.output_video = c.video;
    job_.output_html = c.html;
    job_.js_url_enabled = !c.js_url.isEmpty();
    job_.js_url = c.js_url;
    EXPECT_FALSE(PublishPage(job_, tools_).published) << c.refused.toStdString();
    EXPECT_EQ(messages_, QStringList({Out() + "/" + c.refused +
                                      "\n\nThis name leads out of the output folder or starts "
                                      "with \".\"; choose a plain file name."}));
  }
  EXPECT_TRUE(measured_.isEmpty());
  EXPECT_EQ(Snapshot(output_.path()), QStringList({"out/"}));
}

TEST_F(PublishPageTest, SubfolderNamesWorkUnlessTheSubfolderIsALink) {
  ASSERT_TRUE(QDir().mkpath(Out("sub")));
  job_.output_video = "sub/movie";
  job_.output_html = "sub/page.html";
  EXPECT_TRUE(PublishPage(job_, tools_).published);
  EXPECT_EQ(Read(Out("sub/page.html")).left(21), "<title>Title</title>\r");
  EXPECT_EQ(Read(Out("sub/movie.flv")), "FLV the input video");

  QTemporaryDir elsewhere;
  ASSERT_TRUE(QDir(Out("sub")).removeRecursively());
  ASSERT_TRUE(QFile::link(elsewhere.path(), Out("sub")));
  const QStringList before = Snapshot(Out());
  job_.output_video = "movie";
  EXPECT_FALSE(PublishPage(job_, tools_).published);
  EXPECT_EQ(messages_, QStringList({Out("sub/page.html") +
                                    "\n\nThis name leads out of the output folder or starts "
                                    "with \".\"; choose a plain file name."}));
  EXPECT_EQ(Snapshot(Out()), before);
  EXPECT_TRUE(QDir(elsewhere.path()).isEmpty());
}

TEST_F(PublishPageTest, LinksAtOutputNamesAreReplacedNotFollowed) {
  job_.js_url_enabled = true;
  job_.js_url = "s.js";
  const QString outputs[] = {"index.html", "player.swf", "movie.flv", "s.js", "ruffle/ruffle.js"};
  for (const QString& name : outputs) {
    for (const QString target : {"file", "folder", "nowhere"}) {
      QTemporaryDir elsewhere;
      Write(QDir(elsewhere.path()).filePath("file"), "keep me");
      Write(QDir(elsewhere.path()).filePath("folder/inside"), "keep me too");
      ASSERT_TRUE(QDir(Out()).removeRecursively() && QDir().mkpath(Out("ruffle")));
      ASSERT_TRUE(QFile::link(QDir(elsewhere.path()).filePath(target), Out(name)));
      const QStringList outside = Snapshot(elsewhere.path());

      EXPECT_TRUE(PublishPage(job_, tools_).published);
      const std::string what = (name + " -> " + target).toStdString();
      EXPECT_FALSE(QFileInfo(Out(name)).isSymLink()) << what;
      EXPECT_TRUE(QFileInfo(Out(name)).isFile()) << what;
      EXPECT_EQ(Snapshot(elsewhere.path()), outside) << what;
    }
  }
  EXPECT_TRUE(messages_.isEmpty());
  EXPECT_EQ(Read(Out("movie.flv")), "FLV the input video");
  EXPECT_EQ(Read(Out("ruffle/ruffle.js")), "runtime");
}

TEST_F(PublishPageTest, LinkedRuntimeFolderStopsThePublish) {
  for (const QString folder : {"ruffle", "ruffle/core"}) {
    QTemporaryDir elsewhere;
    Write(QDir(elsewhere.path()).filePath("ruffle.js"), "keep me");
    ASSERT_TRUE(QDir(Out()).removeRecursively() && QDir().mkpath(Out("ruffle")));
    if (folder == "ruffle") QDir(Out("ruffle")).removeRecursively();
    ASSERT_TRUE(QFile::link(elsewhere.path(), Out(folder)));
    const QStringList before = Snapshot(Out()), outside = Snapshot(elsewhere.path());
    messages_.clear();
    EXPECT_FALSE(PublishPage(job_, tools_).published);
    EXPECT_EQ(messages_,
              QStringList({Out(folder) + "\n\nThis folder is a link; remove it and produce the "
                                         "page again."}));
    EXPECT_EQ(Snapshot(Out()), before);
    EXPECT_EQ(Snapshot(elsewhere.path()), outside);
  }
}

TEST_F(PublishPageTest, ALinkedVideoThatNoCopyReplacesIsNeverMeasured) {
  // The encoder wrote the video, or nothing was chosen: only the metadata tool would touch the
  // name, and it rewrites a video where a link leads.
  for (const int which_file : {0, 1}) {
    QTemporaryDir elsewhere;
    Write(QDir(elsewhere.path()).filePath("their.flv"), "FLV someone else's video");
    ASSERT_TRUE(QDir(Out()).removeRecursively() && QDir().mkpath(Out()));
    ASSERT_TRUE(QFile::link(QDir(elsewhere.path()).filePath("their.flv"), Out("movie.flv")));
    const QStringList before = Snapshot(Out());
    job_.which_file = which_file;
    messages_.clear();
    measured_.clear();
    EXPECT_FALSE(PublishPage(job_, tools_).published);
    EXPECT_EQ(messages_.last(),
              Out("movie.flv") + "\n\nThis file is a link; remove it and produce the page again.");
    EXPECT_TRUE(measured_.isEmpty());
    EXPECT_EQ(Snapshot(Out()), before);
  }
}

TEST_F(PublishPageTest, FailedPublishTakesBackWhatItMade) {
  const QString page_fails = Out("index.html") + "\r\nCould not create the specified HTML file!";
  const QString no_size = Out("movie.flv") + "\n\nCan't get movie resolution data.";
  // Each failure is set up by `arrange`; `during` runs in place of the metadata tool, after the
  // copies (when it runs at all).
  struct Case {
    const char* what;
    std::function<void()> arrange, during;
    QString message;
  };
  const Case cases[] = {
      {"input is no FLV",
       [&] {
         Write(input_.filePath("private.txt"), "my secrets");
         QFile::setPermissions(input_.filePath("private.txt"),
                               QFile::ReadOwner | QFile::WriteOwner);
         job_.input_flv = input_.filePath("private.txt");
       },
       [] {}, no_size},
      {"template missing", [&] { QFile::remove(Program("resources/template.htm")); }, [] {},
       "Template.htm\r\nCould not open the template HTML file!"},
      {"page name is a folder", [&] { QDir().mkpath(Out("index.html")); }, [] {}, page_fails},
      {"video cannot be measured",
       [&] {
         frame_size_ = {0, 0};
       },
       [] {}, no_size},
      {"page cannot be written", [] {}, [&] { QDir().mkpath(Out("index.html")); }, page_fails},
      {"script cannot be written", [] {}, [&] { QDir().mkpath(Out("s.js")); },
       Out("s.js") + "\r\nCould not create external JavaScript file!"},
  };
  for (const bool folder_had_files : {false, true}) {
    for (const Case& c : cases) {
      SetUp();
      frame_size_ = {320, 240};
      job_.js_url_enabled = true;
      job_.js_url = "s.js";
      ASSERT_TRUE(QDir(Out()).removeRecursively() && QDir().mkpath(Out()));
      if (folder_had_files) {
        Write(Out("player.swf"), "blue player");  // replaced by the same bytes: stays
        Write(Out("ruffle/core/mine.txt"), "mine");
        Write(Out("old.html"), "old page");
      }
      c.arrange();
      const QStringList before = Snapshot(Out());
      tools_.run_metadata_tool = [&](const QString&) { c.during(); };
      messages_.clear();

      EXPECT_FALSE(PublishPage(job_, tools_).published) << c.what;
      EXPECT_EQ(messages_, QStringList(c.message)) << c.what;
      QStringList after = Snapshot(Out());
      for (const QString made : {"index.html/", "s.js/"}) {  // what `during` made is the test's
        if (!before.contains(made)) after.removeAll(made);
      }
      EXPECT_EQ(after, before) << c.what << (folder_had_files ? " (folder had files)" : "");
      EXPECT_EQ(
          QDir(output_.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
          QStringList({"out"}));
    }
  }
}

TEST_F(PublishPageTest, CopiesKeepTheirSourcesPermissionBits) {
  QFile::setPermissions(job_.input_flv, QFile::ReadOwner | QFile::WriteOwner);
  QFile::setPermissions(Program("resources/skin-Blue.swf"),
                        QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
  QFile::setPermissions(Program("resources/ruffle/ruffle.js"),
                        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                            QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
  Write(Out("movie.flv"), "FLV old");  // a file that was there takes the source's bits too
  ASSERT_TRUE(PublishPage(job_, tools_).published);
  EXPECT_EQ(Mode(Out("movie.flv")), 0600u);
  EXPECT_EQ(Mode(Out("player.swf")), 0640u);
  EXPECT_EQ(Mode(Out("ruffle/ruffle.js")), 0755u);
}

// A stand-in for the companion that writes the poster and the MP4 twin as it does: beside the
// name, renamed over it. It records each call in `measured_`; with `twin_fails_` it writes
// nothing.
class WebTwinTest : public PublishPageTest {
 protected:
  void SetUp() override {
    PublishPageTest::SetUp();
    tools_.make_web_twin = [this](const QString& flv, const QString& poster, const QString& mp4) {
      measured_ << "twin " + flv + " [" + poster + "] [" + mp4 + "]";
      if (twin_fails_) return;
      for (const auto& [path, kind] : {std::pair{poster, "JPEG"}, std::pair{mp4, "MP4"}}) {
        if (path.isEmpty()) continue;
        Write(path + ".new", kind + QByteArray(" of ") + Read(flv));
        ASSERT_EQ(::rename(QFile::encodeName(path + ".new").constData(),
                           QFile::encodeName(path).constData()),
                  0);
      }
    };
  }

  // Gives `path` a modification time `seconds` from now.
  static void Age(const QString& path, int seconds) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(seconds),
                                 QFileDevice::FileModificationTime));
  }

  bool twin_fails_ = false;
};

TEST(TwinName, IsTheVideosNameWithTheOtherExtension) {
  const std::pair<QString, QString> cases[] = {
      {"clip.flv", "clip.jpg"},     {"Clip.FLV", "Clip.jpg"},   {"sub/clip.flv", "sub/clip.jpg"},
      {"a.b/clip", "a.b/clip.jpg"}, {"a.flv.flv", "a.flv.jpg"}, {"sub\\clip.flv", "sub\\clip.jpg"},
  };
  for (const auto& [video, poster] : cases)
    EXPECT_EQ(TwinName(video, "jpg"), poster) << video.toStdString();
}

TEST_F(WebTwinTest, PosterAndTwinAreMadeAfterMeasuringAndNamedAfterTheVideo) {
  for (const bool with_mp4 : {true, false}) {
    ASSERT_TRUE(QDir(Out()).removeRecursively() && QDir().mkpath(Out()));
    measured_.clear();
    job_.publish_mp4_twin = with_mp4;
    const PublishResult result = PublishPage(job_, tools_);
    ASSERT_TRUE(result.published);
    EXPECT_EQ(messages_, QStringList());
    const QString mp4 = with_mp4 ? Out("movie.mp4") : "";
    EXPECT_EQ(measured_,
              QStringList({"run " + Out("movie.flv"),
                           "twin " + Out("movie.flv") + " [" + Out("movie.jpg") + "] [" + mp4 + "]",
                           "read " + Out("movie.flv")}));
    EXPECT_EQ(result.poster_name, "movie.jpg");
    EXPECT_EQ(result.mp4_name, with_mp4 ? "movie.mp4" : "");
    EXPECT_EQ(Read(Out("movie.jpg")), "JPEG of FLV the input video");
    EXPECT_EQ(QFile::exists(Out("movie.mp4")), with_mp4);
  }
}

TEST_F(WebTwinTest, TwinIsReusedWhileTheVideoIsUnchangedAndRemadeAfterItChanges) {
  ASSERT_TRUE(PublishPage(job_, tools_).published);
  const QString twin_call =
      "twin " + Out("movie.flv") + " [" + Out("movie.jpg") + "] [" + Out("movie.mp4") + "]";
  EXPECT_EQ(measured_.filter("twin "), QStringList({twin_call}));

  measured_.clear();
  PublishResult again = PublishPage(job_, tools_);
  EXPECT_EQ(measured_.filter("twin "), QStringList());  // the same input, copied before
  EXPECT_EQ(again.poster_name, "movie.jpg");
  EXPECT_EQ(again.mp4_name, "movie.mp4");

  QFile::remove(Out("movie.mp4"));  // only what is missing is made
  measured_.clear();
  ASSERT_TRUE(PublishPage(job_, tools_).published);
  EXPECT_EQ(measured_.filter("twin "),
            QStringList({"twin " + Out("movie.flv") + " [] [" + Out("movie.mp4") + "]"}));

  Write(job_.input_flv, "FLV a new cut");
  Age(job_.input_flv, 5);
  measured_.clear();
  again = PublishPage(job_, tools_);
  EXPECT_EQ(measured_.filter("twin "), QStringList({twin_call}));
  EXPECT_EQ(Read(Out("movie.mp4")), "MP4 of FLV a new cut");
  EXPECT_EQ(again.mp4_name, "movie.mp4");
}

TEST_F(WebTwinTest, FailedCompanionStillPublishesWithoutNamingStaleFiles) {
  twin_fails_ = true;
  // Left from an older video: empty, older than the video, or a link to a newer file.
  Write(Out("movie.jpg"), "");
  Write(Out("movie.mp4"), "MP4 of an older video");
  Age(Out("movie.mp4"), -3600);
  const PublishResult result = PublishPage(job_, tools_);
  EXPECT_TRUE(result.published);
  EXPECT_EQ(messages_, QStringList());
  EXPECT_EQ(result.poster_name, "");
  EXPECT_EQ(result.mp4_name, "");
  EXPECT_TRUE(QFile::exists(Out("index.html")));

  QTemporaryDir elsewhere;
  const QString theirs = QDir(elsewhere.path()).filePath("theirs.mp4");
  Write(theirs, "someone else's film");
  Age(theirs, 3600);
  ASSERT_TRUE(QFile::remove(Out("movie.mp4")) && QFile::link(theirs, Out("movie.mp4")));
  measured_.clear();
  EXPECT_EQ(PublishPage(job_, tools_).mp4_name, "");  // a link is never taken for the twin
  EXPECT_EQ(measured_.filter("twin "),
            QStringList({"twin " + Out("movie.flv") + " [" + Out("movie.jpg") + "] [" +
                         Out("movie.mp4") + "]"}));
}

TEST_F(WebTwinTest, LinkAtTheTwinsNameIsReplacedAndItsTargetUntouched) {
  QTemporaryDir elsewhere;
  const QString theirs = QDir(elsewhere.path()).filePath("theirs.mp4");
  Write(theirs, "someone else's film");
  ASSERT_TRUE(QFile::link(theirs, Out("movie.mp4")));
  const PublishResult result = PublishPage(job_, tools_);
  ASSERT_TRUE(result.published);
  EXPECT_EQ(result.mp4_name, "movie.mp4");
  EXPECT_FALSE(QFileInfo(Out("movie.mp4")).isSymLink());
  EXPECT_EQ(Read(Out("movie.mp4")), "MP4 of FLV the input video");
  EXPECT_EQ(Read(theirs), "someone else's film");
}

TEST_F(WebTwinTest, TwinNeverTakesTheScriptsName) {
  job_.js_url_enabled = true;
  job_.js_url = "http://example.org/movie.mp4";
  const PublishResult result = PublishPage(job_, tools_);
  ASSERT_TRUE(result.published);
  EXPECT_EQ(result.mp4_name, "");
  EXPECT_EQ(result.poster_name, "movie.jpg");
  EXPECT_TRUE(Read(Out("movie.mp4")).contains("document.write("));  // the script, not a twin
}

TEST_F(WebTwinTest, FailedPublishTakesBackTheNewPosterAndTwin) {
  Write(Out("old.jpg"), "old poster");
  const QStringList before = Snapshot(Out());
  // The page cannot be written once the twin is made.
  tools_.run_metadata_tool = [this](const QString&) { QDir().mkpath(Out("index.html")); };
  EXPECT_FALSE(PublishPage(job_, tools_).published);
  EXPECT_EQ(measured_.filter("twin ").size(), 1);
  QStringList after = Snapshot(Out());
  after.removeAll("index.html/");
  EXPECT_EQ(after, before);
}

TEST(WithCrLf, EveryLineFeedGetsACarriageReturn) {
  EXPECT_EQ(WithCrLf("a\nb\n\n"), "a\r\nb\r\n\r\n");
  EXPECT_EQ(WithCrLf(QString::fromUtf8("\xC3\xA9")), "\xC3\xA9");
  EXPECT_EQ(ScriptFileName("a/b\\c"), "c");
  EXPECT_EQ(ScriptFileName("."), "");
}

}  // namespace
}  // namespace publish
