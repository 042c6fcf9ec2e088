// The window when its settings file, affiliate file and a project given on the command line are
// not plain files (a link to a device, a FIFO, a folder, a socket): start-up never waits on
// them, the project is reported as unreadable, and the exit writes over none of them.
#include "special_files.h"

#include "main_window_fixture.h"

namespace {

using test_support::SpecialKind;

const QStringList kFiles = {"reelwright.ini", "affiliate.cfg", "job.reel"};

TEST_F(MainWindowTest, FilesThatAreNotPlainFilesAreNeitherWaitedOnNorReplaced) {
  for (const SpecialKind kind : test_support::AllSpecialKinds()) {
    SCOPED_TRACE(test_support::KindName(kind));
    TemporaryProgramFolder folder;
    QStringList before;
    QString cannot;
    for (const QString& name : kFiles) {
      if (cannot.isEmpty()) cannot = test_support::MakeSpecialFile(kind, folder.FilePath(name));
      before << test_support::Describe(folder.FilePath(name));
    }
    if (!cannot.isEmpty()) {
      std::printf("skipped the %s here: %s\n", test_support::KindName(kind), qPrintable(cannot));
      continue;
    }
    const QString project = folder.FilePath("job.reel");
    prompter.Clear();
    dialog.reset();
    {
      test_support::FifoWatchdog watchdog(folder.path());
      Start(project);
      EXPECT_FALSE(watchdog.fired()) << "start-up waited on a FIFO";
    }
    EXPECT_EQ(prompter.messages(), QStringList{project + "\n\nInvalid REEL project file."});
    EXPECT_TRUE(dialog->State().project_path.isEmpty());
    EXPECT_TRUE(dialog->settings().affiliate_id->text().isEmpty());
    EXPECT_TRUE(dialog->settings().disable_i_button->isChecked());  // as with no settings file

    exit_codes.clear();
    if (dialog->State().modified) prompter.QueueAnswer(platform::Answer::No);
    Click(IDC_EXIT);
    EXPECT_EQ(exit_codes, std::vector<int>{0});
    QStringList after;
    for (const QString& name : kFiles) after << test_support::Describe(folder.FilePath(name));
    EXPECT_EQ(after, before);
  }
  platform::OverrideProgramFolder(program_folder.path());
}

}  // namespace
