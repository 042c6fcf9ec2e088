#include "publish/get_code.h"

#include <gtest/gtest.h>

namespace publish {
namespace {

TEST(GetCodeText, CutsAtTheBodyTagsAndShowsLinesWithCrLf) {
  EXPECT_EQ(GetCodeText("<html>\n<body>\n<p>a</p>\n</body>\n</html>\n"), "\r\n<p>a</p>\r\n");
  EXPECT_EQ(GetCodeText("x<body>a<body>b</body>c</body>"), "a<body>b");  // first tags count
  EXPECT_EQ(GetCodeText("<head>\nx</body>y"), "<head>\r\nx");            // no <body>
  EXPECT_EQ(GetCodeText("a<body>b\nc"), "b\r\nc");                       // no </body>
  EXPECT_EQ(GetCodeText("<BODY>a</BODY>"), "<BODY>a</BODY>");            // exact case only
  EXPECT_EQ(GetCodeText(""), "");
}

TEST(GetCodeText, KeepsWhatLiesFarBeyondTheEndTag) {
  const QString tail(100000, 'z');
  EXPECT_EQ(GetCodeText("a</body>" + tail), "a" + QString(100000 + 7 - 99999, 'z'));
}

TEST(Preview, WarnsForExternalLocations) {
  EXPECT_FALSE(PreviewWarns(false, false, false, "http://x/a.js"));
  EXPECT_FALSE(PreviewWarns(false, false, true, "reelcode.js"));
  EXPECT_TRUE(PreviewWarns(false, false, true, "HTTPS://x/reelcode.js"));
  EXPECT_TRUE(PreviewWarns(false, false, true, "a http:b"));
  EXPECT_TRUE(PreviewWarns(false, true, false, ""));
  EXPECT_TRUE(PreviewWarns(true, false, false, ""));
  EXPECT_EQ(PreviewWarningText(),
            "Warning!\n\nYou have chosen to use a template that pulls files from an external "
            "location.\nThe preview function will not work properly when files are played from "
            "an external location.\n\nTo test this page properly, you must upload it to your "
            "webserver now.");
}

TEST(Preview, AddressNamesThePageOnTheLoopbackServer) {
  EXPECT_EQ(PreviewAddress(8123, "index.html"), "http://127.0.0.1:8123/index.html");
  EXPECT_EQ(PreviewAddress(80, "my page#1.htm"), "http://127.0.0.1:80/my%20page%231.htm");
}

}  // namespace
}  // namespace publish
