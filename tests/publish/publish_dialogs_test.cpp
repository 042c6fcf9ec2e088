// The Get Code and Customize Player dialogs, opened as the window opens them: what they show,
// what they hand back, and the picture stretched over the preview control.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFontInfo>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

#include "platform/stand_in_program.h"
#include "publish/advanced_dialog.h"
#include "publish/customize_player_dialog.h"
#include "publish/get_code_dialog.h"
#include "publish/player_picture.h"
#include "res/bitmaps.h"
#include "res/resource.h"
#include "ui/skin_button.h"

namespace {

using publish::PlayerSkin;
using test_support::WaitUntil;

// A page's code runs to several thousand characters; all of them are copied.
TEST(GetCodeDialog, CopiesTheWholeCodeAndKeepsItsTick) {
  QString code = QString::fromUtf8("<!-- \xF0\x9D\x84\x9E -->\r\n");
  for (int i = 0; i < 400; ++i) code += QString("line %1\r\n").arg(i, 3, 10, QChar('0'));
  CGetCodeDialog dialog(nullptr, code);
  dialog.Create(96);
  dialog.show();
  EXPECT_EQ(dialog.accessibleName(), "Get Code...");
  EXPECT_EQ(dialog.Control(IDC_CODE_TEXT)->accessibleName(), "Code");
  EXPECT_EQ(dialog.Control(IDC_COPIED_TICK)->accessibleName(), "Copied");
  EXPECT_TRUE(dialog.code_box()->isReadOnly());
  EXPECT_TRUE(QFontInfo(dialog.code_box()->font()).fixedPitch())
      << QFontInfo(dialog.code_box()->font()).family().toStdString();
  EXPECT_TRUE(dialog.Control(IDC_COPIED_TICK)->isHidden());
  EXPECT_EQ(static_cast<CSkinButton*>(dialog.Control(IDOK))->CurrentFaceId(), IDB_CLOSE);

  QApplication::clipboard()->setText("before");
  QTest::mouseClick(dialog.Control(IDC_COPY_CODE), Qt::LeftButton);
  EXPECT_EQ(QApplication::clipboard()->text(), code);
  EXPECT_FALSE(dialog.Control(IDC_COPIED_TICK)->isHidden());
  // The tick stays, also when the mouse passes over it.
  QTest::mouseMove(dialog.Control(IDC_COPIED_TICK));
  EXPECT_FALSE(dialog.Control(IDC_COPIED_TICK)->isHidden());

  QTest::mouseClick(dialog.Control(IDOK), Qt::LeftButton);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

class CustomizePlayerTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(QDir(program_.path()).mkpath("resources")); }

  // A player with a picture of two colours, left and right.
  PlayerSkin AddPlayer(const QString& stem, const QString& name) {
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(Qt::red);
    for (int y = 0; y < 20; ++y)
      for (int x = 20; x < 40; ++x) image.setPixel(x, y, qRgb(0, 0, 255));
    EXPECT_TRUE(image.save(QDir(program_.path()).filePath("resources/" + stem + ".jpg"), "JPG"));
    return {stem + ".swf", stem + ".jpg", name};
  }

  std::unique_ptr<CCustomizePlayerDialog> Open(std::vector<PlayerSkin> players, int which) {
    auto dialog = std::make_unique<CCustomizePlayerDialog>(nullptr, std::move(players), which,
                                                           program_.path());
    dialog->Create(96);
    dialog->show();
    return dialog;
  }

  QTemporaryDir program_;
};

TEST_F(CustomizePlayerTest, OpensOnTheGivenPlayerOrTheFirstWithItsPicture) {
  const std::vector<PlayerSkin> players = {AddPlayer("a", "a"), AddPlayer("skin-B_c", "B c")};
  auto dialog = Open(players, 1);
  EXPECT_EQ(dialog->accessibleName(), "Customize Player");
  ASSERT_EQ(dialog->list()->count(), 2);
  EXPECT_EQ(dialog->list()->item(1)->text(), "B c");
  EXPECT_EQ(dialog->list()->currentRow(), 1);
  EXPECT_EQ(dialog->list()->accessibleName(), "Players");
  EXPECT_EQ(dialog->picture()->accessibleName(), "Player Preview: B c");
  EXPECT_TRUE(dialog->preview_timer_pending());
  EXPECT_TRUE(WaitUntil([&] { return !dialog->preview_timer_pending(); }));

  for (int which : {-1, 2, 7}) {
    auto other = Open(players, which);
    EXPECT_EQ(other->list()->currentRow(), 0) << which;
    other->accept();
    EXPECT_EQ(other->selection(), 0) << which;
  }
}

TEST_F(CustomizePlayerTest, ThePictureFillsTheControlStretched) {
  const PlayerSkin player = AddPlayer("a", "a");
  auto dialog = Open({player}, 0);
  const QImage shown = dialog->picture()->pixmap().toImage();
  ASSERT_EQ(shown.size(), dialog->picture()->contentsRect().size());
  // Both halves of the picture over the whole width: no bars, proportions not kept.
  EXPECT_GT(qRed(shown.pixel(2, shown.height() / 2)), 200);
  EXPECT_GT(qBlue(shown.pixel(shown.width() - 3, shown.height() / 2)), 200);
  EXPECT_GT(qRed(shown.pixel(2, 1)), 200);
  EXPECT_TRUE(publish::PlayerPicture(program_.path(), {"x.swf", "x.jpg", "x"}, {10, 10}).isNull());
}

TEST_F(CustomizePlayerTest, ASelectionOrADoubleClickChoosesAndCancelLeavesTheChoice) {
  const std::vector<PlayerSkin> players = {AddPlayer("a", "a"), AddPlayer("b", "b"),
                                           AddPlayer("c", "c")};
  auto dialog = Open(players, 0);
  QListWidget* list = dialog->list();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                    list->visualItemRect(list->item(2)).center());
  EXPECT_EQ(dialog->selection(), 2);
  // The picture's name follows the choice.
  EXPECT_EQ(dialog->picture()->accessibleName(), "Player Preview: c");
  QTest::mouseClick(dialog->Control(IDOK), Qt::LeftButton);
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_EQ(dialog->selection(), 2);

  dialog = Open(players, 0);
  const QPoint second = dialog->list()->visualItemRect(dialog->list()->item(1)).center();
  QTest::mouseClick(dialog->list()->viewport(), Qt::LeftButton, {}, second);
  QTest::mouseDClick(dialog->list()->viewport(), Qt::LeftButton, {}, second);
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_EQ(dialog->selection(), 1);

  dialog = Open(players, 0);
  QTest::mouseClick(dialog->Control(IDCANCEL), Qt::LeftButton);
  EXPECT_EQ(dialog->result(), QDialog::Rejected);
}

TEST_F(CustomizePlayerTest, AnEmptyListShowsNoPictureAndOkChoosesNone) {
  auto dialog = Open({}, 0);
  EXPECT_EQ(dialog->list()->count(), 0);
  EXPECT_TRUE(dialog->picture()->pixmap().isNull());
  EXPECT_FALSE(dialog->preview_timer_pending());
  QTest::mouseClick(dialog->Control(IDOK), Qt::LeftButton);
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_EQ(dialog->selection(), -1);
}

// The two dialogs as a person sees them, over their backgrounds, with the real players'
// pictures. With REELWRIGHT_SCREENSHOT_DIR set (scripts/screenshots) they are kept as PNG.
TEST(Screenshots, GetCodeCustomizePlayerAndAdvancedOptions) {
  const auto keep = [](QWidget& dialog, int background, const QString& name) {
    const QImage shot = dialog.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage bitmap = LoadBitmapResource(background).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shot.size(), bitmap.size());
    // The title band has no control over it: it is the background itself.
    for (QPoint p : {QPoint(5, 5), QPoint(shot.width() - 5, 20)})
      EXPECT_EQ(shot.pixel(p), bitmap.pixel(p)) << name.toStdString();
    const QString folder = qEnvironmentVariable("REELWRIGHT_SCREENSHOT_DIR");
    if (!folder.isEmpty()) shot.save(QDir(folder).filePath(name));
  };
  CGetCodeDialog code(nullptr,
                      "\r\n<script src=\"ruffle/ruffle.js\" defer></script>\r\n<object "
                      "width=\"320\" height=\"282\">...</object>\r\n");
  code.Create(96);
  code.show();
  QTest::mouseClick(code.Control(IDC_COPY_CODE), Qt::LeftButton);
  keep(code, IDB_GET_CODE_BACKGROUND, "get-code.png");

  std::vector<PlayerSkin> players;
  publish::ScanPlayerSkins(players, REELWRIGHT_PROGRAM_DIR);
  ASSERT_FALSE(players.empty());
  CCustomizePlayerDialog customize(nullptr, players, 1, REELWRIGHT_PROGRAM_DIR);
  customize.Create(96);
  customize.show();
  EXPECT_FALSE(customize.picture()->pixmap().isNull());
  keep(customize, IDB_CUSTOMIZE_BACKGROUND, "customize-player.png");

  store::ExternalUrlOption players_url{store::kPlayersUrlKey}, videos_url{store::kVideosUrlKey},
      js_url{store::kJsUrlKey};
  bool publish_mp4 = true;
  AdvancedDlg advanced(nullptr, players_url, videos_url, js_url, publish_mp4);
  advanced.Create(96);
  advanced.show();
  keep(advanced, IDB_ADVANCED_BACKGROUND, "advanced-options.png");
}

}  // namespace
