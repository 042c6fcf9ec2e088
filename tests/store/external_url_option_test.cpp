#include "store/external_url_option.h"

#include <gtest/gtest.h>

#include "store/profile_file.h"

namespace store {
namespace {

TEST(ExternalUrlOptionTest, ParsesAProjectLineOnlyWhenItHasBothSeparatorsInOrder) {
  struct Case {
    const char* line;
    bool enabled;
    const char* url;
  };
  // The option starts on with "old" as its URL, so that "left alone" shows.
  const Case cases[] = {
      {"PLAYERSURL=1,http://cdn.test/p/", true, "http://cdn.test/p/"},
      {"PLAYERSURL= 1 ,  http://cdn.test/p/  ", true, "http://cdn.test/p/"},
      {"PLAYERSURL=,x", false, "x"},
      {"PLAYERSURL=0,x", false, "x"},
      {"PLAYERSURL=2,x", false, "x"},
      {"PLAYERSURL=1,", true, ""},
      {"PLAYERSURL=1,a,b=c", true, "a,b=c"},  // only the first "," and "=" count
      {"PLAYERSURL=1", true, "old"},          // no comma
      {"PLAYERSURL,x=1", true, "old"},        // comma before the "="
      {"=1,x", true, "old"},                  // "=" first
      {",PLAYERSURL=1,x", true, "old"},       // comma first
      {"", true, "old"},
  };
  for (const Case& c : cases) {
    ExternalUrlOption option(kPlayersUrlKey);
    option.Set(true, "old");
    option.ParseUrlOptionLine(c.line);
    EXPECT_EQ(option.enabled(), c.enabled) << c.line;
    EXPECT_EQ(option.url(), QString(c.url)) << c.line;
  }
}

TEST(ExternalUrlOptionTest, ReadsItsSectionWithDefaultsAndOnlyOneMeansOn) {
  const store::ProfileFile profile = store::ProfileFile::FromBytes(
      "[PLAYERSURL]\nEnabled=1\nURL=http://cdn.test/players/\n"
      "[VIDEOSURL]\nEnabled=2\n");
  ExternalUrlOption players(kPlayersUrlKey), videos(kVideosUrlKey), js(kJsUrlKey);
  players.ReadUrlOption(kDefaultPlayersUrl, profile);
  videos.ReadUrlOption(kDefaultVideosUrl, profile);
  js.ReadUrlOption(kDefaultJsUrl, profile);

  EXPECT_TRUE(players.enabled());
  EXPECT_EQ(players.url(), "http://cdn.test/players/");
  EXPECT_FALSE(videos.enabled());
  EXPECT_EQ(videos.url(), "http://www.example.com/vidoes/");
  EXPECT_FALSE(js.enabled());
  EXPECT_EQ(js.url(), "reelcode.js");

  players.SwitchOffAfterRead();
  EXPECT_FALSE(players.enabled());
  EXPECT_EQ(players.url(), "http://cdn.test/players/");
}

}  // namespace
}  // namespace store
