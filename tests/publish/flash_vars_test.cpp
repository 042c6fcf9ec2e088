#include "publish/flash_vars.h"

#include <gtest/gtest.h>

namespace publish {
namespace {

TEST(ComposeFlashVars, WorkedExampleCleansTheRedirectBox) {
  FlashVarsInput input;
  input.output_video = "clip.flv";
  input.buffer_size = "5";
  input.show_border = true;
  input.enable_redirect_url = true;
  input.redirect_url = " http://site/next.html ";
  const FlashVars vars = ComposeFlashVars(input);
  EXPECT_EQ(vars.text,
            "contentPath=clip.flv&affiliateID=&bufferTime=5&autoPlay=true&startStreaming=false"
            "&hasVideoChrome=true&redirectURL=http://site/next.html");
  EXPECT_EQ(vars.cleaned_redirect_url, QString("site/next.html"));
}

TEST(ComposeFlashVars, NothingCheckedGivesTheSixPairs) {
  const FlashVars vars = ComposeFlashVars({});
  EXPECT_EQ(vars.text,
            "contentPath=&affiliateID=&bufferTime=&autoPlay=true&startStreaming=false"
            "&hasVideoChrome=false");
  EXPECT_FALSE(vars.cleaned_redirect_url);
}

TEST(ComposeFlashVars, FlagsAndUnescapedValues) {
  FlashVarsInput input;
  input.output_video = "a b&c=d.flv";
  input.videos_url_enabled = true;
  input.videos_url = "http://cdn/v";  // no "/" added: it runs into the name
  input.affiliate_id = "x'\"";
  input.buffer_size = "10";
  input.paused_at_start = true;
  input.preload_movie = true;
  EXPECT_EQ(ComposeFlashVars(input).text,
            "contentPath=http://cdn/va b&c=d.flv&affiliateID=x'\"&bufferTime=10&autoPlay=false"
            "&startStreaming=true&hasVideoChrome=false");
  input.videos_url_enabled = false;  // the location counts only when enabled
  EXPECT_TRUE(ComposeFlashVars(input).text.startsWith("contentPath=a b&c=d.flv&"));
}

TEST(ComposeFlashVars, RedirectAddressCleaning) {
  struct Case {
    QString box;
    bool enabled;
    QString pair;                         // expected tail of the text, or "" for none
    std::optional<QString> written_back;  // the box's new text
  };
  const Case cases[] = {
      {"https://s/x", true, "&redirectURL=http://https://s/x", std::nullopt},
      {"HTTP://s/x", true, "&redirectURL=http://HTTP://s/x", std::nullopt},
      {"a http://b", true, "&redirectURL=http://a b", QString("a b")},
      {"http://a http://b", true, "&redirectURL=http://a http://b", QString("a http://b")},
      {"http://s/x", false, "", QString("s/x")},
      {"  s/x  ", true, "&redirectURL=http://s/x", std::nullopt},  // box keeps its spaces
      {"", true, "&redirectURL=http://", std::nullopt},
  };
  for (const Case& c : cases) {
    FlashVarsInput input;
    input.redirect_url = c.box;
    input.enable_redirect_url = c.enabled;
    const FlashVars vars = ComposeFlashVars(input);
    const QString base =
        "contentPath=&affiliateID=&bufferTime=&autoPlay=true&startStreaming=false"
        "&hasVideoChrome=false";
    EXPECT_EQ(vars.text, base + c.pair) << c.box.toStdString();
    EXPECT_EQ(vars.cleaned_redirect_url, c.written_back) << c.box.toStdString();
  }
}

}  // namespace
}  // namespace publish
