#include "publish/page_values.h"

#include <gtest/gtest.h>

namespace publish {
namespace {

TEST(PageValues, HtmlTextKeepsAValueInsideItsElementOrAttribute) {
  const std::pair<QString, QString> cases[] = {
      {"My Clip 2024 (final) / caf\u00e9", "My Clip 2024 (final) / caf\u00e9"},  // unchanged
      {"</title><script>fetch('/.ssh/id_rsa')</script>",
       "&lt;/title&gt;&lt;script&gt;fetch(&#39;/.ssh/id_rsa&#39;)&lt;/script&gt;"},
      {"\" onload=\"alert(1)", "&quot; onload=&quot;alert(1)"},
      {"Tom &amp; Jerry", "Tom &amp;amp; Jerry"},
      {QString::fromUtf8("a\0b\tc\r\nd\x1b\x7f"
                         "e\u0085",
                         13),
       "abcde"},
  };
  for (const auto& [value, written] : cases)
    EXPECT_EQ(HtmlText(value), written) << value.toStdString();
}

TEST(PageValues, FlashVarsValueEncodesWhatWouldSplitOrChangeThePairs) {
  const std::pair<QString, QString> cases[] = {
      {"clip.flv", "clip.flv"},
      {"a b/c:d;e(f)", "a b/c:d;e(f)"},
      {"%&+=#", "%25%26%2B%3D%23"},
      {"\"'<>", "%22%27%3C%3E"},
      {QString::fromUtf8("x\0y\nz", 5), "xyz"},
      {"\u65e5\u672c", "\u65e5\u672c"},
  };
  for (const auto& [value, written] : cases)
    EXPECT_EQ(FlashVarsValue(value), written) << value.toStdString();
}

TEST(PageValues, RelativeUrlPathEncodesWhatWouldEndThePathOrMakeItAScheme) {
  const std::pair<QString, QString> cases[] = {
      {"clip.flv", "clip.flv"},
      {"sub/my clip.flv", "sub/my clip.flv"},
      {"take #1 100%+.flv", "take %231 100%25+.flv"},
      {"why?.flv", "why%3F.flv"},
      {"javascript:alert(1)", "javascript%3Aalert(1)"},
      {"back\\slash.flv", "back%5Cslash.flv"},
  };
  for (const auto& [name, path] : cases)
    EXPECT_EQ(RelativeUrlPath(name), path) << name.toStdString();
}

}  // namespace
}  // namespace publish
