#include "encode/input_selection.h"

#include <gtest/gtest.h>

#include "print_qstring.h"

namespace {

using encode::InputSelection;

struct BrowseCase {
  const char* chosen;
  const char* output_html;
  const char* folder;
  const char* output_video;
  const char* html_after;
};

TEST(InputSelectionTest, MovieSetsTheOutputBesideIt) {
  const BrowseCase cases[] = {
      {"/clip.avi", "", "/", "clip.flv", "index.html"},
      {"/videos/my.holiday.avi", "page.htm", "/videos", "my.holiday.flv", "page.htm"},
      {"/videos/noext", "   ", "/videos", "noext.flv", "index.html"},
      {"/videos/a b/.avi", " x ", "/videos/a b", ".flv", " x "},
      {"clip.avi", "", "typed", "clip.flv", ""},  // no folder in the path: folder and page stay
  };
  for (const BrowseCase& c : cases) {
    SCOPED_TRACE(c.chosen);
    const InputSelection s = encode::SelectMovie(c.chosen, "typed", c.output_html);
    EXPECT_EQ(s.input_video, c.chosen);
    EXPECT_EQ(s.input_flv, "");
    EXPECT_EQ(s.output_folder, c.folder);
    EXPECT_EQ(s.output_video, c.output_video);
    EXPECT_EQ(s.output_html, c.html_after);
    EXPECT_EQ(s.which_file, 1);
    EXPECT_TRUE(s.encoding_enabled);
  }
}

TEST(InputSelectionTest, FlvKeepsItsOwnName) {
  const BrowseCase cases[] = {
      {"/clip.flv", "", "/", "clip.flv", "index.html"},
      {"/site/videos/My.Clip.FLV", "index.htm", "/site/videos", "My.Clip.FLV", "index.htm"},
  };
  for (const BrowseCase& c : cases) {
    SCOPED_TRACE(c.chosen);
    const InputSelection s = encode::SelectFlv(c.chosen, "typed", c.output_html);
    EXPECT_EQ(s.input_flv, c.chosen);
    EXPECT_EQ(s.input_video, "");
    EXPECT_EQ(s.output_folder, c.folder);
    EXPECT_EQ(s.output_video, c.output_video);
    EXPECT_EQ(s.output_html, c.html_after);
    EXPECT_EQ(s.which_file, 2);
    EXPECT_FALSE(s.encoding_enabled);
  }
}

TEST(InputSelectionTest, DialogsOfferTheirFileKinds) {
  EXPECT_STREQ(encode::kMovieDialogTitle, "Browse for Movie File");
  EXPECT_STREQ(encode::kFlvDialogTitle, "Browse for Flash Movie");
  const QList<platform::FileFilter> movie = encode::MovieFileFilters();
  ASSERT_EQ(movie.size(), 3);
  EXPECT_EQ(movie[0].name, "Video for Windows (*.avi)");
  EXPECT_EQ(movie[0].patterns, "*.avi");
  EXPECT_EQ(movie[1].name, "MPEG Movie (*.mpg;*.mpeg)");
  EXPECT_EQ(movie[1].patterns, "*.mpg;*.mpeg");
  EXPECT_EQ(movie[2].name, "Windows Media Video (*.wmv)");
  EXPECT_EQ(movie[2].patterns, "*.wmv");
  const QList<platform::FileFilter> flv = encode::FlvFileFilters();
  ASSERT_EQ(flv.size(), 1);
  EXPECT_EQ(flv[0].name, "Flash Video (*.flv)");
  EXPECT_EQ(flv[0].patterns, "*.flv");
}

}  // namespace
