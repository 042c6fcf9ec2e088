#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QTemporaryDir>

#include "store/project_file_type.h"
#include "store/project_reader.h"
#include "store/project_writer.h"
#include "store_test_files.h"

namespace store {

// Readable failures: every field by name.
void PrintTo(const ProjectSnapshot& job, std::ostream* out) {
  QString text;
  for (const ProjectKeyInfo& info : kProjectKeys) {
    std::visit(
        [&](auto field) {
          const auto& value = job.*field;
          using Value = std::decay_t<decltype(value)>;
          text += QString::fromLatin1(info.text) + ' ';
          if constexpr (std::is_same_v<Value, QString>) {
            text += '"' + value.left(40) + '"';
          } else if constexpr (std::is_same_v<Value, store::ExternalUrlOption>) {
            text += QString::number(value.enabled()) + " \"" + value.url() + '"';
          } else {
            text += QString::number(value);
          }
          text += "; ";
        },
        FieldOf(info.key));
  }
  *out << text.toStdString();
}

namespace {

TEST(ProjectFileTest, ALineBelongsToTheFirstKeyAnywhereInIt) {
  struct Case {
    const char* line;
    ProjectKey key;
    QString text;
  };
  const Case cases[] = {
      {"TITLE= My page ", ProjectKey::Title, " My page "},  // text stays unchanged
      {"xxTITLE=abc", ProjectKey::Title, "abc"},
      {"X=TITLE=abc", ProjectKey::Title, "TITLE=abc"},  // after the line's first "="
      {"OPFOLDER=/srv/TITLE=x", ProjectKey::Title, "/srv/TITLE=x"},
      {"AFFILID=PRESETS", ProjectKey::Preset, "PRESETS"},  // an earlier key takes it
      {"PRESET =  Web  ", ProjectKey::Preset, "Web"},      // names are trimmed
      {"PRESET", ProjectKey::Preset, "PRESET"},            // no "=": the whole line
      {"PLAYERSURL=1,http://x/?TITLE=t", ProjectKey::Title, "1,http://x/?TITLE=t"},
      {"VIDEOSURL=1,http://x/", ProjectKey::VideosUrl, "VIDEOSURL=1,http://x/"},
      {"JSURL=1,PLAYERSURL.js", ProjectKey::PlayersUrl, "JSURL=1,PLAYERSURL.js"},
  };
  for (const Case& c : cases) {
    const std::optional<ProjectLine> line = ClassifyProjectLine(c.line);
    ASSERT_TRUE(line) << c.line;
    EXPECT_EQ(line->key, c.key) << c.line;
    EXPECT_EQ(line->text, c.text) << c.line;
  }
  for (const char* ignored : {"", "title=abc", "Nothing here", "TITLE"}) {
    EXPECT_EQ(ClassifyProjectLine(ignored), std::nullopt) << ignored;
  }
}

TEST(ProjectFileTest, NumbersAndFlagsTakeTheirForms) {
  struct Case {
    const char* line;
    ProjectKey key;
    std::optional<int> number;
    bool flag;
  };
  const Case cases[] = {
      {"RESOLUTION= 3 ", ProjectKey::Resolution, 3, false},
      {"BUFFERSIZE=-1", ProjectKey::BufferSize, -1, false},
      {"FRAMERATE=12fps", ProjectKey::FrameRate, 12, false},
      {"WHICHPLAYER=abc", ProjectKey::WhichPlayer, std::nullopt, false},
      {"WHICHFILE=", ProjectKey::WhichFile, std::nullopt, false},
      {"ENABLEAUDIO=0", ProjectKey::EnableAudio, std::nullopt, false},
      {"ENABLEAUDIO= 0 ", ProjectKey::EnableAudio, std::nullopt, false},
      {"ENABLEAUDIO=1", ProjectKey::EnableAudio, std::nullopt, true},
      {"ENABLEAUDIO=", ProjectKey::EnableAudio, std::nullopt, true},
      {"ENABLEAUDIO=no", ProjectKey::EnableAudio, std::nullopt, true},
      {"ENABLEAUDIO=00", ProjectKey::EnableAudio, std::nullopt, true},
      {"AUDIOMONO=0", ProjectKey::AudioMono, std::nullopt, false},
      {"REDIRURL=next/AUDIOMONO", ProjectKey::AudioMono, std::nullopt, true},
  };
  for (const Case& c : cases) {
    const std::optional<ProjectLine> line = ClassifyProjectLine(c.line);
    ASSERT_TRUE(line) << c.line;
    EXPECT_EQ(line->key, c.key) << c.line;
    EXPECT_EQ(line->number, c.number) << c.line;
    EXPECT_EQ(line->flag, c.flag) << c.line;
  }
}

TEST(ProjectFileTest, LoadingSetsOnlyWhatTheFileHolds) {
  ProjectSnapshot before;
  before.page_title = "kept";
  before.which_file = 2;
  before.which_player = 1;
  const ProjectSnapshot job = LoadProjectText(
      "junk\r\n\r\nPRESET=first\r\nRESOLUTION=5\r\nWHICHFILE=x\r\nWHICHPLAYER=7\n"
      "PLAYERSURL=1\nVIDEOSURL=1, http://media.test/ \r\nPRESET= last \nOPHTML=page.html",
      before);
  EXPECT_EQ(job.page_title, "kept");
  EXPECT_EQ(job.preset_name, "last");  // the later of two lines wins
  EXPECT_EQ(job.resolution, 5);
  EXPECT_EQ(job.which_file, 2);  // no number: unchanged
  EXPECT_EQ(job.which_player, 7);
  EXPECT_FALSE(job.players_url.enabled());  // no comma: left alone
  EXPECT_TRUE(job.videos_url.enabled());
  EXPECT_EQ(job.videos_url.url(), "http://media.test/");
  EXPECT_EQ(job.output_html, "page.html");  // the last line needs no line end
}

TEST(ProjectFileTest, OverlongLinesAndHugeFilesAreReadInPart) {
  // The tail of an overlong line is never read as a line of its own.
  QByteArray text = "TITLE=" + QByteArray(kMaxProjectLineBytes * 2, 't') + "WHICHFILE=1\n";
  text += "OPHTML=after\n";
  ProjectSnapshot job = LoadProjectText(text, {});
  EXPECT_EQ(job.page_title.size(), kMaxProjectLineBytes - 6);
  EXPECT_EQ(job.which_file, 0);
  EXPECT_EQ(job.output_html, "after");

  // A line of exactly the longest length keeps all of it, also with CR LF.
  const QByteArray longest = "TITLE=" + QByteArray(kMaxProjectLineBytes - 6, 'a');
  EXPECT_EQ(LoadProjectText(longest + "\r\n", {}).page_title.size(), kMaxProjectLineBytes - 6);

  // What comes after the byte cap is not read; what came before counts.
  QByteArray huge = "TITLE=early\n" + QByteArray(kMaxProjectBytes, '\xff') + "\nOPHTML=late\n";
  job = LoadProjectText(huge, {});
  EXPECT_EQ(job.page_title, "early");
  EXPECT_EQ(job.output_html, "");
}

TEST(ProjectFileTest, AFileThatCannotBeOpenedIsTheOnlyFailure) {
  QTemporaryDir dir;
  EXPECT_EQ(ReadProjectLines(dir.filePath("missing.reel")), std::nullopt);
  EXPECT_EQ(ReadProjectLines(dir.path()), std::nullopt);  // a folder
  store_test::WriteBytes(dir.filePath("empty.reel"), "");
  const auto empty = ReadProjectLines(dir.filePath("empty.reel"));
  ASSERT_TRUE(empty);
  EXPECT_TRUE(empty->empty());
}

ProjectSnapshot EveryFieldChanged() {
  ProjectSnapshot job;
  job.page_title = " My page ";
  job.input_video = "/home/me/clips/holiday 2009.avi";
  job.input_flv = "/home/me/old.flv";
  job.output_folder = "/srv/www/holiday";
  job.output_video = "holiday.flv";
  job.output_html = "index.html";
  job.preset_name = "Web";
  job.resolution = 7;
  job.frame_rate = 13;
  job.video_bitrate = 9;
  job.audio_bitrate = -1;
  job.sampling_rate = 2;
  job.buffer_size = 8;
  job.enabled_audio = false;
  job.mono = false;
  job.paused_at_start = true;
  job.preload_movie = false;
  job.disable_i_button = false;
  job.show_border = false;
  job.enable_link = true;
  job.affiliate_id = "aff-42";
  job.enable_redirect_url = true;
  job.redirect_url = "www.example.org/next";
  job.which_file = 1;
  job.which_player = 3;
  job.players_url.Set(true, "http://cdn.test/players/");
  job.videos_url.Set(false, "http://cdn.test/videos/");
  job.js_url.Set(true, "code.js");
  return job;
}

TEST(ProjectFileTest, ASavedJobLoadsBackTheSame) {
  const ProjectSnapshot job = EveryFieldChanged();
  std::vector<ProjectKey> emptied;
  const QString text = ProjectFileText(job, &emptied);
  EXPECT_TRUE(emptied.empty());
  EXPECT_EQ(LoadProjectText(text.toUtf8(), {}), job);
  EXPECT_EQ(LoadProjectText(text.toUtf8(), job), job);

  const QStringList lines = text.split("\r\n");
  EXPECT_EQ(lines.size(), 29);  // 28 lines, each ended by CR LF
  EXPECT_EQ(lines.first(), "TITLE= My page ");
  EXPECT_TRUE(lines.contains("RESOLUTION=7"));
  EXPECT_TRUE(lines.contains("ENABLEAUDIO=0"));
  EXPECT_TRUE(lines.contains("PRESET=Web"));
  EXPECT_TRUE(lines.contains("JSURL=1,code.js"));
  EXPECT_FALSE(text.contains(QRegularExpression("[^\r]\n")));
}

TEST(ProjectFileTest, ValuesHoldingKeysLoadBackWhenTheFormatCanCarryThem) {
  using Set = void (*)(ProjectSnapshot&);
  struct Case {
    const char* what;
    Set set;
    Set set_loaded = nullptr;  // what loads instead, when the format cannot carry the value
    ProjectKey emptied = ProjectKey::Title;  // the key written empty then
  };
  const Case cases[] = {
      {"title with later keys", [](ProjectSnapshot& j) { j.page_title = "IPVIDEO=x PRESET"; }},
      {"path with TITLE=", [](ProjectSnapshot& j) { j.input_video = "/clips/TITLE=1.avi"; },
       [](ProjectSnapshot& j) { j.input_video = ""; }, ProjectKey::InputVideo},
      {"path with TITLE but no =", [](ProjectSnapshot& j) { j.input_video = "/TITLE/a.avi"; }},
      {"affiliate id with PRESET", [](ProjectSnapshot& j) { j.affiliate_id = "PRESETS"; },
       [](ProjectSnapshot& j) { j.affiliate_id = ""; }, ProjectKey::AffiliateId},
      {"redirect with a flag key", [](ProjectSnapshot& j) { j.redirect_url = "next/AUDIOMONO"; },
       [](ProjectSnapshot& j) { j.redirect_url = ""; }, ProjectKey::RedirectUrl},
      {"redirect with a later key", [](ProjectSnapshot& j) { j.redirect_url = "next/WHICHFILE"; }},
      {"preset name with OPHTML=", [](ProjectSnapshot& j) { j.preset_name = "OPHTML=x"; },
       [](ProjectSnapshot& j) { j.preset_name = ""; }, ProjectKey::Preset},
      {"player URL with a table key",
       [](ProjectSnapshot& j) { j.players_url.Set(true, "http://x/?WHICHFILE=2"); },
       [](ProjectSnapshot& j) { j.players_url.Set(true, ""); }, ProjectKey::PlayersUrl},
      {"script URL with an earlier option key",
       [](ProjectSnapshot& j) { j.js_url.Set(true, "PLAYERSURL.js"); },
       [](ProjectSnapshot& j) { j.js_url.Set(true, ""); }, ProjectKey::JsUrl},
      {"player URL with a later option key",
       [](ProjectSnapshot& j) { j.players_url.Set(true, "JSURL/p/"); }},
      {"line feed in a title", [](ProjectSnapshot& j) { j.page_title = "one\ntwo"; },
       [](ProjectSnapshot& j) { j.page_title = ""; }},
      {"carriage returns in a title", [](ProjectSnapshot& j) { j.page_title = "one\rtwo\r"; }},
      {"title longer than a line",
       [](ProjectSnapshot& j) { j.page_title = QString(kMaxProjectLineBytes, u't'); },
       [](ProjectSnapshot& j) { j.page_title = ""; }},
  };
  for (const Case& c : cases) {
    ProjectSnapshot job = EveryFieldChanged();
    c.set(job);
    ProjectSnapshot expected = job;
    if (c.set_loaded) c.set_loaded(expected);
    // Loaded over a window that holds other values, so that a line that is missing or read as
    // another key shows.
    std::vector<ProjectKey> emptied;
    const QString text = ProjectFileText(job, &emptied);
    EXPECT_EQ(LoadProjectText(text.toUtf8(), ProjectSnapshot()), expected) << c.what;
    EXPECT_EQ(emptied,
              c.set_loaded ? std::vector<ProjectKey>{c.emptied} : std::vector<ProjectKey>{})
        << c.what;
  }
}

TEST(ProjectFileTest, BlanksAroundUrlsAndPresetNamesAreTrimmed) {
  ProjectSnapshot job;
  job.preset_name = "  Web ";
  job.videos_url.Set(true, "  http://media.test/  ");
  const ProjectSnapshot loaded = LoadProjectText(ProjectFileText(job).toUtf8(), {});
  EXPECT_EQ(loaded.preset_name, "Web");
  EXPECT_TRUE(loaded.videos_url.enabled());
  EXPECT_EQ(loaded.videos_url.url(), "http://media.test/");
}

TEST(ProjectFileTest, SavingReplacesTheFile) {
  QTemporaryDir dir;
  const QString path = dir.filePath("job.reel");
  store_test::WriteBytes(path, "TITLE=old\n");
  ASSERT_TRUE(SaveProjectFile(path, ProjectFileText(EveryFieldChanged())));
  const auto lines = ReadProjectLines(path);
  ASSERT_TRUE(lines);
  ProjectSnapshot job;
  for (const ProjectLine& line : *lines) ApplyProjectLine(line, job);
  EXPECT_EQ(job, EveryFieldChanged());
}

TEST(ProjectFileTest, TheDialogsOfferReelFiles) {
  EXPECT_STREQ(kProjectFileSuffix, "reel");
  const QList<platform::FileFilter> filters = ProjectFileFilters();
  ASSERT_EQ(filters.size(), 2);
  EXPECT_EQ(filters[0].patterns, "*.reel");
}

}  // namespace
}  // namespace store
