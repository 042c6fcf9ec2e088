#include "publish/flash_vars.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <utility>
#include <vector>

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

TEST(ComposeFlashVars, FlagsAndEncodedValues) {
  FlashVarsInput input;
  input.output_video = "a b&c=d.flv";
  input.videos_url_enabled = true;
  input.videos_url = "http://cdn/v";  // no "/" added: it runs into the name
  input.affiliate_id = "x'\"";
  input.buffer_size = "10";
  input.paused_at_start = true;
  input.preload_movie = true;
  EXPECT_EQ(ComposeFlashVars(input).text,
            "contentPath=http://cdn/va b%26c%3Dd.flv&affiliateID=x%27%22&bufferTime=10"
            "&autoPlay=false&startStreaming=true&hasVideoChrome=false");
  input.videos_url_enabled = false;  // the location counts only when enabled
  EXPECT_TRUE(ComposeFlashVars(input).text.startsWith("contentPath=a b%26c%3Dd.flv&"));
}

// The pairs as the player reads them: split at "&", then at the first "=", then decoded as a
// browser decodes a query ("+" is a space, "%XX" a byte).
std::vector<std::pair<QString, QString>> Decoded(const QString& text) {
  std::vector<std::pair<QString, QString>> pairs;
  const auto decode = [](QString part) {
    return QString::fromUtf8(QByteArray::fromPercentEncoding(part.replace('+', ' ').toUtf8()));
  };
  for (const QString& pair : text.split('&')) {
    const qsizetype equals = pair.indexOf('=');
    pairs.emplace_back(decode(pair.left(equals)), decode(pair.mid(equals + 1)));
  }
  return pairs;
}

TEST(ComposeFlashVars, NoValueCanAddOrOverrideAPair) {
  const QString hostile[] = {
      "a&redirectURL=javascript:alert(1)", "1&autoPlay=false#x", "50% + 50%=100%",
      "\"><script>alert(1)</script>",      "%26%3D%25",          "caf\u00e9 \u65e5\u672c",
  };
  for (const QString& value : hostile) {
    FlashVarsInput input;
    input.affiliate_id = value;
    input.buffer_size = value;
    input.enable_redirect_url = true;
    input.redirect_url = "site/?a=1&b=" + value;
    const FlashVars vars = ComposeFlashVars(input);
    for (const char* raw : {"\"", "'", "<", ">", "#"})
      EXPECT_FALSE(vars.text.contains(raw)) << raw << " in " << vars.text.toStdString();
    const auto pairs = Decoded(vars.text);
    ASSERT_EQ(pairs.size(), 7u) << vars.text.toStdString();
    EXPECT_EQ(pairs[1], std::pair(QString("affiliateID"), value));
    EXPECT_EQ(pairs[2], std::pair(QString("bufferTime"), value));
    EXPECT_EQ(pairs[3], std::pair(QString("autoPlay"), QString("true")));
    EXPECT_EQ(pairs[6], std::pair(QString("redirectURL"), "http://site/?a=1&b=" + value));
  }
}

TEST(ComposeFlashVars, TheVideoNameReachesThePlayerAsAnAddressOfTheFile) {
  const std::pair<QString, QString> cases[] = {
      {"clip.flv", "clip.flv"},
      {"Tom & Jerry.flv", "Tom & Jerry.flv"},
      {"take #1 100%+.flv", "take %231 100%25+.flv"},
      {"say \"hi\".flv", "say \"hi\".flv"},
      {"why?.flv", "why%3F.flv"},
      {"a:b.flv", "a%3Ab.flv"},  // not a scheme
      {"sub/my holiday (2024).flv", "sub/my holiday (2024).flv"},
      {"\u00fcn\u00ef \u00e9t\u00e9.flv", "\u00fcn\u00ef \u00e9t\u00e9.flv"},
  };
  for (const auto& [name, address] : cases) {
    FlashVarsInput input;
    input.output_video = name;
    EXPECT_EQ(Decoded(ComposeFlashVars(input).text)[0], std::pair(QString("contentPath"), address))
        << name.toStdString();
  }
}

TEST(ComposeFlashVars, RedirectAddressCleaning) {
  struct Case {
    QString box;
    bool enabled;
    QString pair;                         // expected tail of the text, or "" for none
    std::optional<QString> written_back;  // the box's new text
  };
  const Case cases[] = {
      // An address with its own scheme, in any case, goes as typed, its box untouched.
      {" https://s/x ", true, "&redirectURL=https://s/x", std::nullopt},
      {"HtTpS://s/?u=http://b", true, "&redirectURL=HtTpS://s/?u%3Dhttp://b", std::nullopt},
      {"HTTP://s/x", true, "&redirectURL=HTTP://s/x", std::nullopt},
      {"s/?a=1&b=2", true, "&redirectURL=http://s/?a%3D1%26b%3D2", std::nullopt},
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
