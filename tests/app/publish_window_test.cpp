// Producing the web page from the real window, with the real encoder, metadata tool, template
// and players in a copy of the program folder: the files on disk, the names and the redirect
// address written back, and what the player page shows afterwards.
#include <gtest/gtest.h>
#include <httplib.h>

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "platform/recording_desktop.h"
#include "publish/customize_player_dialog.h"
#include "publish/get_code.h"
#include "publish/get_code_dialog.h"
#include "publish/preview_server.h"
#include "qt_printers.h"
#include "real_program_window.h"

namespace {

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every line break of the bytes is a carriage return and a line feed.
bool AllLineBreaksAreCrLf(const QByteArray& bytes) {
  for (qsizetype i = 0; i < bytes.size(); ++i)
    if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')) return false;
  return bytes.contains("\r\n");
}

using PublishWindowTest = RealProgramWindowTest;

TEST_F(PublishWindowTest, AnEncodedClipIsPublishedBesideItsPlayerAndRuntime) {
  Edit(IDC_PAGE_TITLE)->setText("Our holiday");
  EncodeMovie(MakeClip("holiday.mpg", {"-c:v", "mpeg1video"}));
  dialog_->GoToPage(3);
  EXPECT_FALSE(Enabled(IDC_PREVIEW_PAGE));
  EXPECT_FALSE(Enabled(IDC_GET_CODE));
  Click(IDC_PRODUCE_PAGE);

  EXPECT_TRUE(prompter_.messages().isEmpty()) << prompter_.messages().join('|').toStdString();
  const QDir out(work_.path());
  for (const char* name : {"holiday.flv", "index.html", "player.swf", "ruffle/ruffle.js"})
    EXPECT_TRUE(out.exists(name)) << name;
  const QByteArray page = ReadFile(out.filePath("index.html"));
  EXPECT_TRUE(AllLineBreaksAreCrLf(page));
  EXPECT_TRUE(page.contains("<title>Our holiday</title>"));
  EXPECT_TRUE(page.contains("contentPath=holiday.flv&"));
  // The default job's 160 by 120 video, as the metadata tool measured it, sizes the player.
  const QString chosen =
      publish::ChosenPlayerFile(dialog_->player_list(), dialog_->settings().which_player);
  EXPECT_EQ(ReadFile(out.filePath("player.swf")),
            ReadFile(QDir(program_.path()).filePath("resources/" + chosen)));
  EXPECT_EQ(QString::fromUtf8(page).replace("\r\n", "\n"), dialog_->generated_html());

  EXPECT_EQ(Edit(IDC_OUTPUT_HTML)->text(), "index.html");
  EXPECT_TRUE(Shown(IDC_PUBLISHED_TICK));
  EXPECT_TRUE(Enabled(IDC_PREVIEW_PAGE));
  EXPECT_TRUE(Enabled(IDC_GET_CODE));
  EXPECT_TRUE(dialog_->State().published);
  EXPECT_TRUE(dialog_->State().encoded);  // writing the names back does not undo the encoding
  EXPECT_TRUE(dialog_->State().modified);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  // Get Code shows what lies between the body tags, lines ended by CR LF, and copies it.
  QApplication::clipboard()->setText("before");
  QString shown, copied;
  bool tick_before = true, tick_after = false;
  OnModal<CGetCodeDialog>(IDC_GET_CODE, [&](CGetCodeDialog* d) {
    EXPECT_EQ(d->windowTitle(), "Get Code...");
    shown = d->code_box()->toPlainText();
    tick_before = !d->Control(IDC_COPIED_TICK)->isHidden();
    QTest::mouseClick(d->Control(IDC_COPY_CODE), Qt::LeftButton);
    tick_after = !d->Control(IDC_COPIED_TICK)->isHidden();
    copied = QApplication::clipboard()->text();
    QTest::mouseClick(d->Control(IDOK), Qt::LeftButton);
  });
  const QString html = dialog_->generated_html();
  const qsizetype body = html.indexOf("<body>") + 6;
  const QString code = html.mid(body, html.indexOf("</body>") - body);
  EXPECT_TRUE(code.contains("<object") && code.contains("ruffle/ruffle.js"));
  EXPECT_EQ(shown, code);
  EXPECT_EQ(copied, QString(code).replace("\n", "\r\n"));
  EXPECT_FALSE(tick_before);
  EXPECT_TRUE(tick_after);

  // Any change asks for a new publish.
  QTest::keyClicks(Edit(IDC_PAGE_TITLE), "!");
  EXPECT_FALSE(Shown(IDC_PUBLISHED_TICK));
  EXPECT_FALSE(Enabled(IDC_PREVIEW_PAGE));
  EXPECT_FALSE(Enabled(IDC_GET_CODE));
}

TEST_F(PublishWindowTest, AnFlvIsCopiedUnderTheCompletedNameAndTheRedirectIsCleaned) {
  const QString flv = MakeClip("source.flv", {"-c:v", "flv"});
  QTemporaryDir out;
  prompter_.QueuePath(flv);
  Click(IDC_BROWSE_FLV);
  Edit(IDC_OUTPUT_FOLDER)->setText(out.path() + "/ ");
  Edit(IDC_OUTPUT_VIDEO)->setText("movie");
  Edit(IDC_OUTPUT_HTML)->setText("  page ");
  dialog_->GoToPage(3);
  Click(IDC_ENABLE_REDIRECT);
  Edit(IDC_REDIRECT_URL)->setText(" http://site/next.html ");
  // A buffer time typed into the list's box, not one of its rows, is the one the player gets.
  dialog_->settings().buffer_size->setEditText("12");
  Click(IDC_PRODUCE_PAGE);

  EXPECT_TRUE(prompter_.messages().isEmpty()) << prompter_.messages().join('|').toStdString();
  EXPECT_EQ(Edit(IDC_OUTPUT_VIDEO)->text(), "movie.flv");
  EXPECT_EQ(Edit(IDC_OUTPUT_HTML)->text(), "page.html");
  EXPECT_EQ(Edit(IDC_REDIRECT_URL)->text(), "site/next.html");
  EXPECT_EQ(ReadFile(QDir(out.path()).filePath("movie.flv")), ReadFile(flv));
  const QByteArray page = ReadFile(QDir(out.path()).filePath("page.html"));
  EXPECT_TRUE(page.contains("contentPath=movie.flv&"));
  EXPECT_TRUE(page.contains("&bufferTime=12&"));
  EXPECT_TRUE(page.contains("&redirectURL=http://site/next.html"));
  EXPECT_TRUE(Shown(IDC_PUBLISHED_TICK));
  EXPECT_FALSE(dialog_->State().encoded);  // nothing was encoded
}

TEST_F(PublishWindowTest, AFailureShowsItsMessageEnablesNothingAndRestoresTheCursor) {
  dialog_->GoToPage(3);
  Edit(IDC_OUTPUT_FOLDER)->setText(work_.filePath("missing"));
  Click(IDC_PRODUCE_PAGE);
  EXPECT_EQ(prompter_.messages(), QStringList{"Specified output folder does not exist!"});
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  // A folder without the named video: the page cannot be sized. (With no name at all, the
  // name ".flv" would be refused.)
  Edit(IDC_OUTPUT_FOLDER)->setText(work_.path());
  Edit(IDC_OUTPUT_VIDEO)->setText("clip");
  Click(IDC_PRODUCE_PAGE);
  ASSERT_EQ(prompter_.messages().size(), 3);
  EXPECT_EQ(prompter_.messages()[1], "Please choose a video file first!");
  EXPECT_TRUE(prompter_.messages()[2].endsWith("\n\nCan't get movie resolution data."));
  EXPECT_FALSE(QDir(work_.path()).exists("index.html"));
  EXPECT_FALSE(Shown(IDC_PUBLISHED_TICK));
  EXPECT_FALSE(Enabled(IDC_PREVIEW_PAGE));
  EXPECT_FALSE(Enabled(IDC_GET_CODE));
  EXPECT_FALSE(dialog_->State().published);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(PublishWindowTest, TheFirstPlayerIsChosenAtStartAndCustomizePlayerChangesIt) {
  const std::vector<publish::PlayerSkin>& players = dialog_->player_list();
  ASSERT_GE(players.size(), 3u);
  auto* label = dialog_->ControlAs<QLabel>(IDC_PLAYER_NAME);
  auto* picture = dialog_->ControlAs<QLabel>(IDC_PLAYER_PREVIEW);
  EXPECT_EQ(dialog_->settings().which_player, 0);
  EXPECT_EQ(label->text(), players[0].display_name + " selected");
  EXPECT_EQ(picture->pixmap().size(), picture->contentsRect().size());
  EXPECT_EQ(picture->accessibleName(), "Player Preview: " + players[0].display_name);
  const QImage first = picture->pixmap().toImage();

  // Published, then another player chosen: the page must be made again.
  dialog_->GoToPage(3);
  const QString flv = MakeClip("source.flv", {"-c:v", "flv"});
  prompter_.QueuePath(flv);
  Click(IDC_BROWSE_FLV);
  Click(IDC_PRODUCE_PAGE);
  ASSERT_TRUE(dialog_->State().published);
  OnModal<CCustomizePlayerDialog>(IDC_CUSTOMIZE_PLAYER, [&](CCustomizePlayerDialog* d) {
    EXPECT_EQ(d->list()->count(), static_cast<int>(players.size()));
    EXPECT_EQ(d->list()->currentRow(), 0);
    d->list()->setCurrentRow(2);
    QTest::mouseClick(d->Control(IDOK), Qt::LeftButton);
  });
  EXPECT_EQ(dialog_->settings().which_player, 2);
  EXPECT_EQ(label->text(), players[2].display_name + " selected");
  EXPECT_NE(picture->pixmap().toImage(), first);
  EXPECT_EQ(picture->accessibleName(), "Player Preview: " + players[2].display_name);
  EXPECT_FALSE(dialog_->State().published);
  EXPECT_FALSE(Enabled(IDC_GET_CODE));

  Click(IDC_PRODUCE_PAGE);
  EXPECT_EQ(ReadFile(QDir(work_.path()).filePath("player.swf")),
            ReadFile(QDir(program_.path()).filePath("resources/" + players[2].player_file)));

  // Cancel keeps the choice and changes nothing.
  OnModal<CCustomizePlayerDialog>(IDC_CUSTOMIZE_PLAYER, [&](CCustomizePlayerDialog* d) {
    EXPECT_EQ(d->list()->currentRow(), 2);
    d->list()->setCurrentRow(1);
    QTest::mouseClick(d->Control(IDCANCEL), Qt::LeftButton);
  });
  EXPECT_EQ(dialog_->settings().which_player, 2);
  EXPECT_TRUE(dialog_->State().published);
}

TEST_F(PublishWindowTest, AProjectChoosesAPlayerOnlyWhenOneHasThatNumber) {
  auto* label = dialog_->ControlAs<QLabel>(IDC_PLAYER_NAME);
  const QString project = work_.filePath("job.reel");
  QFile file(project);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("WHICHPLAYER=1\r\n");
  file.close();
  dialog_->OpenProject(project);
  EXPECT_EQ(dialog_->settings().which_player, 1);
  EXPECT_EQ(label->text(), dialog_->player_list()[1].display_name + " selected");

  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write("WHICHPLAYER=40\r\n");
  file.close();
  dialog_->OpenProject(project);
  EXPECT_EQ(dialog_->settings().which_player, 40);  // kept, but nothing is shown for it
  EXPECT_EQ(label->text(), dialog_->player_list()[1].display_name + " selected");
  // Publishing then uses the default player.
  EXPECT_EQ(publish::ChosenPlayerFile(dialog_->player_list(), 40), "player.swf");
}

TEST_F(PublishWindowTest, WithoutPlayersNothingIsChosenAndOkOnTheEmptyListKeepsTheLabel) {
  dialog_.reset();
  QDir resources(QDir(program_.path()).filePath("resources"));
  for (const QString& name : resources.entryList({"*.swf"})) ASSERT_TRUE(resources.remove(name));
  dialog_ = std::make_unique<CMainDialog>();
  dialog_->SetProcessExit([](int) {});
  dialog_->Create(96);
  dialog_->show();
  auto* label = dialog_->ControlAs<QLabel>(IDC_PLAYER_NAME);
  EXPECT_TRUE(dialog_->player_list().empty());
  EXPECT_EQ(dialog_->settings().which_player, -1);
  EXPECT_EQ(label->text(), "Which Player?");
  // No picture: the page's framed placeholder shows through, not a stretched button face.
  EXPECT_TRUE(dialog_->ControlAs<QLabel>(IDC_PLAYER_PREVIEW)->pixmap().isNull());

  dialog_->GoToPage(3);
  OnModal<CCustomizePlayerDialog>(IDC_CUSTOMIZE_PLAYER, [&](CCustomizePlayerDialog* d) {
    EXPECT_EQ(d->list()->count(), 0);
    QTest::mouseClick(d->Control(IDOK), Qt::LeftButton);
  });
  EXPECT_EQ(dialog_->settings().which_player, -1);
  EXPECT_EQ(label->text(), "Which Player?");
}

// What the page at a loopback address holds, fetched as a browser would.
std::string Fetch(const QUrl& address) {
  httplib::Client client("127.0.0.1", address.port());
  const auto response = client.Get(address.path(QUrl::FullyEncoded).toStdString());
  return response && response->status == 200 ? response->body : std::string("(no page)");
}

TEST_F(PublishWindowTest, PreviewServesTheOutputFolderOnTheLoopbackAddress) {
  platform::RecordingDesktop desktop;
  const QString flv = MakeClip("source.flv", {"-c:v", "flv"});
  prompter_.QueuePath(flv);
  Click(IDC_BROWSE_FLV);
  Edit(IDC_OUTPUT_HTML)->setText("my page");
  dialog_->GoToPage(3);
  Click(IDC_PRODUCE_PAGE);
  ASSERT_TRUE(Enabled(IDC_PREVIEW_PAGE));
  EXPECT_EQ(dialog_->preview_server(), nullptr);  // started by the first preview only

  Click(IDC_PREVIEW_PAGE);
  ASSERT_EQ(desktop.opened().size(), 1);
  const QUrl address = desktop.opened()[0];
  ASSERT_NE(dialog_->preview_server(), nullptr);
  const int port = dialog_->preview_server()->port();
  EXPECT_EQ(address.toString(QUrl::FullyEncoded),
            QString("http://127.0.0.1:%1/my%20page.html").arg(port));
  EXPECT_EQ(Fetch(address), ReadFile(work_.filePath("my page.html")).toStdString());
  EXPECT_TRUE(prompter_.messages().isEmpty());

  // A page elsewhere: the same server, now serving that folder only.
  QTemporaryDir other;
  prompter_.QueuePath(flv);
  Click(IDC_BROWSE_FLV);
  Edit(IDC_OUTPUT_FOLDER)->setText(other.path());
  Edit(IDC_OUTPUT_HTML)->setText("index.html");
  Click(IDC_PRODUCE_PAGE);
  Click(IDC_PREVIEW_PAGE);
  ASSERT_EQ(desktop.opened().size(), 2);
  EXPECT_EQ(dialog_->preview_server()->port(), port);
  EXPECT_EQ(Fetch(desktop.opened()[1]),
            ReadFile(QDir(other.path()).filePath("index.html")).toStdString());
  EXPECT_EQ(Fetch(address), "(no page)");

  // The output folder is gone: nothing is opened.
  Edit(IDC_OUTPUT_FOLDER)->setText(work_.filePath("gone"));
  dialog_->ControlAs<QWidget>(IDC_PREVIEW_PAGE)->setEnabled(true);
  Click(IDC_PREVIEW_PAGE);
  EXPECT_EQ(prompter_.messages(), QStringList{"Specified output folder does not exist!"});
  EXPECT_EQ(desktop.opened().size(), 2);

  // Leaving the program stops the server.
  dialog_->SetCurrentProject({});
  dialog_->OnCommand(ID_FILE_EXIT);
  EXPECT_FALSE(dialog_->preview_server()->running());
}

TEST_F(PublishWindowTest, PreviewWarnsOfExternalFilesAndStillOpens) {
  platform::RecordingDesktop desktop;
  const QString flv = MakeClip("source.flv", {"-c:v", "flv"});
  prompter_.QueuePath(flv);
  Click(IDC_BROWSE_FLV);
  dialog_->GoToPage(3);
  Click(IDC_PRODUCE_PAGE);
  ASSERT_TRUE(prompter_.messages().isEmpty());
  auto preview_with = [&](bool videos, bool js, const QString& js_url) {
    dialog_->videos_url().Set(videos, "http://media.example/");
    dialog_->js_url().Set(js, js_url);
    prompter_.Clear();
    dialog_->ControlAs<QWidget>(IDC_PREVIEW_PAGE)->setEnabled(true);
    Click(IDC_PREVIEW_PAGE);
    return prompter_.messages();
  };
  const QStringList warning = {publish::PreviewWarningText()};
  EXPECT_EQ(preview_with(false, true, "reelcode.js"), QStringList());
  EXPECT_EQ(preview_with(false, true, "HTTPS://cdn.example/reelcode.js"), warning);
  EXPECT_EQ(preview_with(true, false, ""), warning);
  EXPECT_EQ(desktop.opened().size(), 3);
}

// With REELWRIGHT_PUBLISH_TIMING_FLV set to an FLV, publishes it into
// REELWRIGHT_PUBLISH_TIMING_OUT twice and prints how long each Produce Web Page took
// (bench/publish.sh uses it).
TEST_F(PublishWindowTest, TimingOfPublishing) {
  const QString flv = qEnvironmentVariable("REELWRIGHT_PUBLISH_TIMING_FLV");
  const QString out = qEnvironmentVariable("REELWRIGHT_PUBLISH_TIMING_OUT");
  if (flv.isEmpty() || out.isEmpty())
    GTEST_SKIP() << "set REELWRIGHT_PUBLISH_TIMING_FLV and _OUT to time publishing";
  prompter_.QueuePath(flv);
  Click(IDC_BROWSE_FLV);
  Edit(IDC_OUTPUT_FOLDER)->setText(out);
  dialog_->GoToPage(3);
  double seconds[2];
  for (double& s : seconds) {
    QElapsedTimer timer;
    timer.start();
    Click(IDC_PRODUCE_PAGE);
    s = timer.elapsed() / 1000.0;
    ASSERT_TRUE(dialog_->State().published) << prompter_.messages().join('|').toStdString();
  }
  std::printf("first-publish %.3f second-publish %.3f\n", seconds[0], seconds[1]);
}

}  // namespace
