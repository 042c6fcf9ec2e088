#include "app/support_page.h"

#include <gtest/gtest.h>

#include <QFile>

#include "platform/desktop.h"
#include "platform/program_folder.h"
#include "platform/recording_desktop.h"

namespace {

class SupportPageTest : public ::testing::Test {
 protected:
  void TearDown() override { platform::OverrideProgramFolder({}); }
};

TEST_F(SupportPageTest, IsTheGuideInTheProgramFolder) {
  platform::OverrideProgramFolder("/opt/reel wright");
  const QUrl url = SupportPageUrl();
  EXPECT_TRUE(url.isLocalFile());
  EXPECT_EQ(url.toLocalFile(), "/opt/reel wright/help/index.html");
}

TEST_F(SupportPageTest, TheBuiltProgramFolderHoldsTheGuide) {
  platform::OverrideProgramFolder(REELWRIGHT_PROGRAM_DIR);
  QFile page(SupportPageUrl().toLocalFile());
  ASSERT_TRUE(page.open(QIODevice::ReadOnly));
  const QByteArray text = page.readAll();
  EXPECT_TRUE(text.contains("<title>Reelwright Help</title>"));
  for (const char* step : {"Step 1", "Step 2", "Step 3"}) EXPECT_TRUE(text.contains(step)) << step;
  EXPECT_TRUE(QFile::exists(QString(REELWRIGHT_PROGRAM_DIR) + "/help/reelwright.png"));
}

// The Help button and the menu's "Support Website..." both call OpenSupportPage.
TEST_F(SupportPageTest, OpensThatAddressThroughTheDesktop) {
  platform::OverrideProgramFolder("/opt/reelwright");
  platform::RecordingDesktop desktop;
  OpenSupportPage(nullptr);
  OpenSupportPage(nullptr);
  ASSERT_EQ(desktop.opened().size(), 2);
  EXPECT_EQ(desktop.opened()[0], QUrl::fromLocalFile("/opt/reelwright/help/index.html"));
  EXPECT_EQ(desktop.opened()[1], desktop.opened()[0]);
}

TEST_F(SupportPageTest, TheNoBrowserMessageGivesTheAddressToOpenByHand) {
  const QUrl address = QUrl::fromLocalFile("/opt/reel wright/help/index.html");
  const QString message = platform::CannotOpenMessage(address);
  EXPECT_TRUE(message.endsWith("\n" + address.toString())) << message.toStdString();
  EXPECT_TRUE(message.contains("browser"));
}

}  // namespace
