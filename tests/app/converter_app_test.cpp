#include "app/converter_app.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>

#include "app/main_dialog.h"
#include "platform/scripted_prompter.h"
#include "qt_printers.h"
#include "temporary_program_folder.h"
#include "ui/dialog_font.h"

namespace {

TEST(CommandLine, QuotesBecomeBlanksAndTheWholeTextIsOnePath) {
  struct Case {
    QString tail, path;
  };
  const Case cases[] = {
      {"", ""},
      {"   ", ""},
      {"\"/home/me/My Jobs/clip.reel\"", "/home/me/My Jobs/clip.reel"},
      {"  /tmp/a.reel  ", "/tmp/a.reel"},
      {"\"/a b.reel\" \"/c.reel\"", "/a b.reel   /c.reel"},
      {"-x /y", "-x /y"},  // no options: all of it is the path
  };
  for (const Case& c : cases) EXPECT_EQ(StartupProjectPath(c.tail), c.path) << c.tail.toStdString();
}

TEST(CommandLine, ArgumentsAreJoinedAsTheyStoodOnTheCommandLine) {
  EXPECT_EQ(StartupProjectPath(QStringList{"reelwright"}), "");
  EXPECT_EQ(StartupProjectPath(QStringList{"reelwright", "/my jobs/a.reel"}), "/my jobs/a.reel");
  EXPECT_EQ(StartupProjectPath(QStringList{"reelwright", "/a", "b.reel"}), "/a b.reel");
}

TEST(MainWindowFont, TheMainWindowTakesTheFontOfItsDpiAndKeepsItsPixelSize) {
  TemporaryProgramFolder program_folder;
  platform::ScriptedPrompter prompter;
  for (auto [dpi, points] : {std::pair{96.0, 8}, {120.0, 6}, {144.0, 5}}) {
    CMainDialog dialog;
    dialog.Create(dpi);
    EXPECT_EQ(dialog.font().pointSize(), points);
    EXPECT_EQ(dialog.ClientArea()->size(), QSize(540, 530));
  }
}

}  // namespace
