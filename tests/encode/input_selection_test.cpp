#include "encode/input_selection.h"

#include <gtest/gtest.h>

#include "qt_printers.h"

namespace {

using encode::InputSelection;

TEST(InputSelectionTest, OutputGoesBesideTheChosenFile) {
  struct BrowseCase {
    bool movie;
    const char* chosen;
    const char* output_html;
    const char* folder;
    const char* output_video;
    const char* html_after;
  };
  const BrowseCase cases[] = {
      {true, "/clip.avi", "", "/", "clip.flv", "index.html"},
      {true, "/videos/my.holiday.avi", "page.htm", "/videos", "my.holiday.flv", "page.htm"},
      {true, "/videos/noext", "   ", "/videos", "noext.flv", "index.html"},
      {true, "/videos/a b/.avi", " x ", "/videos/a b", ".flv", " x "},
      {true, "clip.avi", "", "typed", "clip.flv", ""},  // no folder in it: folder and page stay
      {false, "/clip.flv", "", "/", "clip.flv", "index.html"},
      {false, "/site/videos/My.Clip.FLV", "index.htm", "/site/videos", "My.Clip.FLV", "index.htm"},
  };
  for (const BrowseCase& c : cases) {
    SCOPED_TRACE(c.chosen);
    const InputSelection s = c.movie ? encode::SelectMovie(c.chosen, "typed", c.output_html)
                                     : encode::SelectFlv(c.chosen, "typed", c.output_html);
    EXPECT_EQ(s.input_video, c.movie ? c.chosen : "");
    EXPECT_EQ(s.input_flv, c.movie ? "" : c.chosen);
    EXPECT_EQ(s.output_folder, c.folder);
    EXPECT_EQ(s.output_video, c.output_video);
    EXPECT_EQ(s.output_html, c.html_after);
    EXPECT_EQ(s.which_file, c.movie ? 1 : 2);
    EXPECT_EQ(s.encoding_enabled, c.movie);
  }
}

TEST(InputSelectionTest, DialogsOfferTheirFileKinds) {
  EXPECT_STREQ(encode::kMovieDialogTitle, "Browse for Movie File");
  EXPECT_STREQ(encode::kFlvDialogTitle, "Browse for Flash Movie");
  const QList<platform::FileFilter> movie = encode::MovieFileFilters();
  // Every video first, then the three kinds in their order.
  ASSERT_EQ(movie.size(), 4);
  EXPECT_EQ(movie[0].name, "All Videos (*.avi;*.mpg;*.mpeg;*.wmv)");
  EXPECT_EQ(movie[0].patterns, "*.avi;*.mpg;*.mpeg;*.wmv");
  EXPECT_EQ(movie[1].name, "Video for Windows (*.avi)");
  EXPECT_EQ(movie[1].patterns, "*.avi");
  EXPECT_EQ(movie[2].name, "MPEG Movie (*.mpg;*.mpeg)");
  EXPECT_EQ(movie[2].patterns, "*.mpg;*.mpeg");
  EXPECT_EQ(movie[3].name, "Windows Media Video (*.wmv)");
  EXPECT_EQ(movie[3].patterns, "*.wmv");
  const QList<platform::FileFilter> flv = encode::FlvFileFilters();
  ASSERT_EQ(flv.size(), 1);
  EXPECT_EQ(flv[0].name, "Flash Video (*.flv)");
  EXPECT_EQ(flv[0].patterns, "*.flv");
}

}  // namespace
