// The published page in a real browser: a clip encoded by the window, Produce Web Page pressed,
// Preview's address opened in headless Chromium, and the video plays, for the default player
// and for a skin. And Get Code's text, pasted into a page of one's own in another folder beside
// ruffle/, player.swf and the FLV, plays too. The browser is driven by browser/plays.mjs.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QListWidget>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "platform/recording_desktop.h"
#include "publish/customize_player_dialog.h"
#include "publish/get_code_dialog.h"
#include "publish/preview_server.h"
#include "real_program_window.h"

namespace {

// Runs the browser on the addresses; its report when a page does not play.
testing::AssertionResult PagesPlay(const QStringList& addresses) {
  QProcess node;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("REELWRIGHT_PROGRAM_DIR", REELWRIGHT_PROGRAM_DIR);
  environment.insert("REELWRIGHT_SOURCE_DIR", REELWRIGHT_SOURCE_DIR);
  node.setProcessEnvironment(environment);
  node.setProcessChannelMode(QProcess::MergedChannels);
  // The preview server answers on its own threads while this thread waits for the browser.
  node.start("node", QStringList{REELWRIGHT_SOURCE_DIR "/tests/app/browser/plays.mjs"} + addresses);
  if (!node.waitForFinished(150000)) {
    node.kill();
    node.waitForFinished();
    return testing::AssertionFailure() << "the browser did not finish";
  }
  const QString report = QString::fromUtf8(node.readAll());
  if (node.exitStatus() == QProcess::NormalExit && node.exitCode() == 0)
    return testing::AssertionSuccess();
  return testing::AssertionFailure() << report.toStdString();
}

class PublishBrowserTest : public RealProgramWindowTest {
 protected:
  // A six-second clip chosen with Browse and encoded by the window, with the real encoder.
  void EncodeClip() {
    EncodeMovie(
        MakeClip("holiday.mpg", {"-c:v", "mpeg1video"},
                 {.picture = "testsrc=size=320x240:rate=25", .sound = false, .seconds = 6}));
    dialog_->GoToPage(3);
  }

  // Chooses the player of that file in Customize Player, as a user does.
  void ChoosePlayer(const QString& player_file) {
    int row = -1;
    const auto& players = dialog_->player_list();
    for (size_t i = 0; i < players.size(); ++i)
      if (players[i].player_file == player_file) row = static_cast<int>(i);
    ASSERT_GE(row, 0) << player_file.toStdString();
    OnModal<CCustomizePlayerDialog>(IDC_CUSTOMIZE_PLAYER, [&](CCustomizePlayerDialog* d) {
      d->list()->setCurrentRow(row);
      QTest::mouseClick(d->Control(IDOK), Qt::LeftButton);
    });
    ASSERT_EQ(dialog_->settings().which_player, row);
  }

  // Produce Web Page, then Preview Web Page: the address the browser was asked to open.
  QString PublishAndPreview() {
    Click(IDC_PRODUCE_PAGE);
    EXPECT_TRUE(dialog_->State().published) << prompter_.messages().join('|').toStdString();
    const qsizetype before = desktop_.opened().size();
    Click(IDC_PREVIEW_PAGE);
    EXPECT_EQ(desktop_.opened().size(), before + 1);
    return desktop_.opened().isEmpty() ? QString() : desktop_.opened().last().toString();
  }

  platform::RecordingDesktop desktop_;
};

TEST_F(PublishBrowserTest, PreviewPlaysWithTheStartUpPlayerAndWithAnother) {
  EncodeClip();
  ASSERT_FALSE(dialog_->player_list().empty());
  EXPECT_EQ(dialog_->player_list().front().player_file, "skin-Classic.swf");
  const QString with_first = PublishAndPreview();
  EXPECT_TRUE(PagesPlay({with_first}));

  ChoosePlayer(dialog_->player_list().back().player_file);
  const QString with_other = PublishAndPreview();
  EXPECT_EQ(QUrl(with_other).port(), QUrl(with_first).port());
  EXPECT_TRUE(PagesPlay({with_other}));
}

TEST_F(PublishBrowserTest, GetCodePastedIntoAnotherPageBesideTheFilesPlays) {
  EncodeClip();
  Click(IDC_PRODUCE_PAGE);
  ASSERT_TRUE(dialog_->State().published);
  OnModal<CGetCodeDialog>(IDC_GET_CODE, [](CGetCodeDialog* d) {
    QTest::mouseClick(d->Control(IDC_COPY_CODE), Qt::LeftButton);
    QTest::mouseClick(d->Control(IDOK), Qt::LeftButton);
  });
  const QString code = QApplication::clipboard()->text();
  ASSERT_TRUE(code.contains("<object"));

  // A page of the user's own, in another folder, with the files beside it.
  QTemporaryDir site;
  const QDir out(work_.path()), own(site.path());
  ASSERT_TRUE(own.mkpath("ruffle"));
  ASSERT_TRUE(test_support::CopyProgramFolder(out.filePath("ruffle"), own.filePath("ruffle")));
  for (const char* name : {"player.swf", "holiday.flv"})
    ASSERT_TRUE(QFile::copy(out.filePath(name), own.filePath(name))) << name;
  QFile page(own.filePath("my-own-page.html"));
  ASSERT_TRUE(page.open(QIODevice::WriteOnly));
  page.write(
      "<!DOCTYPE html>\r\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
      "<title>My own page</title></head><body>\r\n<h1>Our holiday</h1>\r\n");
  page.write(code.toUtf8());
  page.write("\r\n<p>More of my own page.</p>\r\n</body></html>\r\n");
  page.close();

  publish::PreviewServer server;
  const int port = server.Serve(site.path());
  ASSERT_NE(port, 0);
  EXPECT_TRUE(PagesPlay({QString("http://127.0.0.1:%1/my-own-page.html").arg(port)}));
}

}  // namespace
