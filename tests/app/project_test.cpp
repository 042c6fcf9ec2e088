// Project files through the real window: opening from the command line and with Open, the
// loader's rules as a user meets them, and Save, Save As and the exit's Yes.
#include <QCheckBox>
#include <QSignalSpy>

#include "main_window_fixture.h"
#include "store/project_reader.h"
#include "store/project_writer.h"

namespace {

class ProjectTest : public MainWindowTest {
 protected:
  QString WriteProject(const QString& name, const QByteArray& text) {
    program_folder.Write(name, text);
    return program_folder.FilePath(name);
  }
  QString Open(const QByteArray& text) {
    const QString path = WriteProject("job.reel", text);
    dialog->OpenProject(path);
    return path;
  }
};

TEST_F(ProjectTest, OpeningSetsThePathTitleAndClearsModified) {
  const QString path = Open("TITLE=My page\nRESOLUTION=3\n");
  EXPECT_EQ(dialog->State().project_path, path);
  EXPECT_EQ(dialog->windowTitle(), "Reelwright - job.reel");
  EXPECT_FALSE(dialog->State().modified);
  EXPECT_EQ(edit(IDC_PAGE_TITLE)->text(), "My page");
  EXPECT_EQ(list(IDC_RESOLUTION)->currentIndex(), 3);
  EXPECT_TRUE(prompter.messages().isEmpty());
}

TEST_F(ProjectTest, AFileThatCannotBeOpenedIsReportedAndChangesNothing) {
  const QString missing = program_folder.FilePath("missing.reel");
  dialog->OpenProject(missing);
  EXPECT_EQ(prompter.messages(), QStringList{missing + "\n\nInvalid REEL project file."});
  EXPECT_TRUE(dialog->State().project_path.isEmpty());
  EXPECT_EQ(dialog->windowTitle(), "Reelwright");
  EXPECT_TRUE(dialog->State().modified);
}

TEST_F(ProjectTest, AnEmptyFileOpensAndOnlyClearsThePresetChoice) {
  Open("");
  EXPECT_FALSE(dialog->State().modified);
  EXPECT_EQ(list(IDC_PRESET)->currentIndex(), -1);
  EXPECT_EQ(list(IDC_RESOLUTION)->currentText(), "160x120");
}

TEST_F(ProjectTest, ValuesTakeTheirKeysFormsWhereverTheKeyStands) {
  Open(
      " TITLE=  My page \r\n"
      "RESOLUTION= 3 \n"
      "xxOPHTML=page.html\n"
      "X=IPFLV=clip.flv\n"
      "ENABLEAUDIO=no\n"
      "AUDIOMONO=0\n"
      "AFFILID=PRESETS\n"
      "REDIRURL=next/AUDIOMONO\n"
      "FRAMERATE=abc\n"
      "SAMPLINGRATE=99\n"
      "BUFFERSIZE=4\n"
      "WHICHFILE=2\n"
      "WHICHPLAYER=7\n");
  EXPECT_EQ(edit(IDC_PAGE_TITLE)->text(), "  My page ");
  EXPECT_EQ(list(IDC_RESOLUTION)->currentIndex(), 3);
  EXPECT_EQ(edit(IDC_OUTPUT_HTML)->text(), "page.html");
  EXPECT_EQ(edit(IDC_INPUT_FLV)->text(), "IPFLV=clip.flv");
  EXPECT_TRUE(button(IDC_ENABLE_AUDIO)->isChecked());
  // "REDIRURL=next/AUDIOMONO" belongs to AUDIOMONO, whose value turns Mono back on.
  EXPECT_TRUE(button(IDC_MONO)->isChecked());
  EXPECT_EQ(edit(IDC_REDIRECT_URL)->text(), "");
  EXPECT_EQ(edit(IDC_AFFILIATE_ID)->text(), "");
  // "AFFILID=PRESETS" is the preset name PRESETS: a preset of the job's values, chosen.
  EXPECT_EQ(list(IDC_PRESET)->itemText(0), "PRESETS");
  EXPECT_EQ(list(IDC_PRESET)->currentIndex(), 0);
  EXPECT_EQ(list(IDC_FRAME_RATE)->currentText(), "6");
  EXPECT_EQ(list(IDC_SAMPLING_RATE)->currentIndex(), -1);
  EXPECT_EQ(list(IDC_BUFFER_SIZE)->currentText(), "15");
  EXPECT_EQ(dialog->settings().which_file, 2);
  EXPECT_EQ(dialog->settings().which_player, 7);
}

TEST_F(ProjectTest, TheLastPresetLineWinsAndReplacesAPresetOfThatName) {
  program_folder.Write("reelwright.ini",
                       "[Option0]\nname=Web\nresolution=7\n[Option1]\nname=Other\nresolution=2\n");
  Start();
  Open("PRESET=first\nRESOLUTION=4\nPRESET= web \n");
  QStringList rows;
  for (int i = 0; i < list(IDC_PRESET)->count(); ++i) rows << list(IDC_PRESET)->itemText(i);
  EXPECT_EQ(rows, QStringList({"web", "Other"}));
  EXPECT_EQ(list(IDC_PRESET)->currentIndex(), 0);
  EXPECT_EQ(dialog->State().presets[0].resolution, 4);
  EXPECT_EQ(list(IDC_RESOLUTION)->currentIndex(), 4);
  EXPECT_FALSE(dialog->State().modified);
}

TEST_F(ProjectTest, UrlOptionLinesSwitchTheExternalLocations) {
  Open(
      "PLAYERSURL=1, http://cdn.example.net/players/ \n"
      "VIDEOSURL=1\n"
      "JSURL=,x.js\n");
  EXPECT_TRUE(dialog->players_url().enabled());
  EXPECT_EQ(dialog->players_url().url(), "http://cdn.example.net/players/");
  EXPECT_FALSE(dialog->videos_url().enabled());
  EXPECT_EQ(dialog->videos_url().url(), "http://www.example.com/vidoes/");
  EXPECT_FALSE(dialog->js_url().enabled());
  EXPECT_EQ(dialog->js_url().url(), "x.js");
}

TEST_F(ProjectTest, PageThreeFlagsFollowOnEveryPage) {
  Open("DISABLEIBUTTON=0\nENABLELINK=1\nENABLEREDIRECTURL=1\nPAUSEDATSTART=1\n");
  dialog->GoToPage(3);
  for (int id : {IDC_AFFILIATE_ID, IDC_REDIRECT_URL, IDC_PRELOAD_MOVIE})
    EXPECT_TRUE(shown(id)) << id;
  // The 'I' button's box alone changes: its rule runs when it is next clicked.
  EXPECT_FALSE(button(IDC_DISABLE_I_BUTTON)->isChecked());
  EXPECT_FALSE(control(IDC_ENABLE_LINK)->isEnabled());

  Open("ENABLELINK=0\nENABLEREDIRECTURL=0\nPAUSEDATSTART=0\n");
  for (int id : {IDC_AFFILIATE_ID, IDC_REDIRECT_URL, IDC_PRELOAD_MOVIE})
    EXPECT_FALSE(shown(id)) << id;
}

TEST_F(ProjectTest, WhichFileOneEnablesEncoding) {
  Open("WHICHFILE=1\n");
  EXPECT_TRUE(control(IDC_START_ENCODING)->isEnabled());
}

// The window and LoadProjectText read a file with one loader: from the same starting job they
// end with the same job, keys the file lacks included (the player stays "none").
TEST_F(ProjectTest, TheWindowAndThePlainLoaderReadAFileTheSame) {
  const QString fresh = program_folder.FilePath("fresh.reel");
  prompter.QueuePath(fresh);
  dialog->OnCommand(ID_FILE_SAVE_AS);
  QFile fresh_file(fresh);
  ASSERT_TRUE(fresh_file.open(QIODevice::ReadOnly));
  const store::ProjectSnapshot start = store::LoadProjectText(fresh_file.readAll(), {});
  EXPECT_EQ(start.which_player, -1);
  // A job on plain values starts as the window does.
  EXPECT_EQ(store::ProjectSnapshot().which_player, start.which_player);

  const QByteArray text =
      "TITLE=Our page\nOPVIDEO=clip\nRESOLUTION=4\nFRAMERATE=x\nAUDIOMONO=0\n"
      "ENABLELINK=1\nAFFILID=p-7\nBUFFERSIZE=3\nWHICHFILE=1\nWHICHPLAYER=4\nJSURL=1,code.js\n";
  Open(text);
  const QString saved = program_folder.FilePath("saved.reel");
  prompter.QueuePath(saved);
  dialog->OnCommand(ID_FILE_SAVE_AS);
  QFile saved_file(saved);
  ASSERT_TRUE(saved_file.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromUtf8(saved_file.readAll()),
            store::ProjectFileText(store::LoadProjectText(text, start)));
}

TEST_F(ProjectTest, ASavedJobOpensIntoTheSameJob) {
  program_folder.Write("reelwright.ini", "[Option0]\nname=Web\nresolution=7\nframe_rate=9\n");
  Start();
  dialog->EnableEncodingControls(true);
  dialog->GoToPage(3);
  Type(IDC_PAGE_TITLE, "Our holiday");
  edit(IDC_INPUT_VIDEO)->setText("/videos/my holiday.avi");
  edit(IDC_OUTPUT_FOLDER)->setText("/srv/www/holiday");
  edit(IDC_OUTPUT_VIDEO)->setText("holiday.flv");
  edit(IDC_OUTPUT_HTML)->setText("index.html");
  dialog->settings().which_file = 1;
  Click(IDC_DISABLE_I_BUTTON);
  Click(IDC_ENABLE_LINK);
  Type(IDC_AFFILIATE_ID, "partner-7");
  Click(IDC_ENABLE_REDIRECT);
  Type(IDC_REDIRECT_URL, "example.org/thanks.html");
  Click(IDC_PAUSED_AT_START);
  Click(IDC_PRELOAD_MOVIE);
  Pick(IDC_BUFFER_SIZE, 6);
  dialog->videos_url().Set(true, "http://media.example.org/");
  dialog->GoToPage(2);
  Pick(IDC_PRESET, 0);

  const QString path = program_folder.FilePath("holiday.reel");
  prompter.QueuePath(path);
  Click(IDC_SAVE);
  ASSERT_EQ(prompter.prompts().size(), 1u);
  EXPECT_EQ(prompter.prompts()[0].kind, platform::RecordedPrompt::Kind::SaveFile);
  EXPECT_EQ(dialog->State().project_path, path);
  EXPECT_FALSE(dialog->State().modified);
  EXPECT_EQ(dialog->windowTitle(), "Reelwright - holiday.reel");

  Start(path);  // a new window, the project given on the command line
  const ProjectSettings& s = dialog->settings();
  EXPECT_EQ(s.page_title->text(), "Our holiday");
  EXPECT_EQ(s.input_video->text(), "/videos/my holiday.avi");
  EXPECT_EQ(s.output_folder->text(), "/srv/www/holiday");
  EXPECT_EQ(s.output_video->text(), "holiday.flv");
  EXPECT_EQ(s.preset->currentText(), "Web");
  EXPECT_EQ(s.resolution->currentText(), "640x480");
  EXPECT_EQ(s.frame_rate->currentText(), "15");
  EXPECT_EQ(s.buffer_size->currentText(), "30");
  EXPECT_TRUE(s.paused_at_start->isChecked());
  EXPECT_FALSE(s.preload_movie->isChecked());
  EXPECT_FALSE(s.disable_i_button->isChecked());
  EXPECT_TRUE(s.enable_link->isChecked());
  EXPECT_EQ(s.affiliate_id->text(), "partner-7");
  EXPECT_TRUE(s.enable_redirect_url->isChecked());
  EXPECT_EQ(s.redirect_url->text(), "example.org/thanks.html");
  EXPECT_EQ(s.which_file, 1);
  EXPECT_TRUE(dialog->videos_url().enabled());
  EXPECT_EQ(dialog->videos_url().url(), "http://media.example.org/");
  EXPECT_EQ(dialog->State().presets.size(), 1u);
  EXPECT_FALSE(dialog->State().modified);
  EXPECT_EQ(dialog->windowTitle(), "Reelwright - holiday.reel");

  // Opened and unchanged: the exit asks nothing.
  Click(IDC_EXIT);
  EXPECT_TRUE(prompter.messages().isEmpty());
}

TEST_F(ProjectTest, YesAtTheExitQuestionRunsSaveAsWithoutAProject) {
  const QString path = program_folder.FilePath("at-exit.reel");
  prompter.QueueAnswer(platform::Answer::Yes);
  prompter.QueuePath(path);
  Type(IDC_PAGE_TITLE, "kept");
  Click(IDC_EXIT);
  EXPECT_EQ(exit_codes, std::vector<int>{0});
  EXPECT_TRUE(program_folder.Read("at-exit.reel").contains("TITLE=kept\r\n"));
  EXPECT_TRUE(program_folder.Exists("reelwright.ini"));
}

// Yes means "keep my job": when it was not saved after all, the exit stops as with Cancel,
// writing nothing and leaving the window as it was.
TEST_F(ProjectTest, YesAtTheExitQuestionThenNoSaveKeepsTheWindow) {
  const QString folder_as_file = program_folder.FilePath("sub.reel");
  QDir().mkpath(folder_as_file);
  Type(IDC_PAGE_TITLE, "kept");
  for (const QString& chosen : {QString(), folder_as_file}) {  // Save As cancelled, or failing
    prompter.Clear();
    prompter.QueueAnswer(platform::Answer::Yes);
    prompter.QueuePath(chosen);
    Click(IDC_EXIT);
    EXPECT_TRUE(exit_codes.empty());
    EXPECT_TRUE(dialog->State().modified);
    EXPECT_EQ(prompter.prompts()[1].kind, platform::RecordedPrompt::Kind::SaveFile);
  }
  EXPECT_EQ(prompter.messages().last(), folder_as_file + "\n\nCan't save the project file.");

  // Save to an open project that can no longer be written, from Escape this time.
  const QString path = Open("TITLE=a\n");
  Type(IDC_PAGE_TITLE, "b");
  QFile::remove(path);
  QDir().mkpath(path);
  QSignalSpy finished(dialog.get(), &QDialog::finished);
  prompter.QueueAnswer(platform::Answer::Yes);
  QTest::keyClick(dialog.get(), Qt::Key_Escape);
  EXPECT_EQ(finished.count(), 0);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_TRUE(dialog->State().modified);
  EXPECT_FALSE(program_folder.Exists("reelwright.ini"));
  EXPECT_FALSE(program_folder.Exists("affiliate.cfg"));
}

// A value the file cannot hold (it would read back as another key) is saved empty, and the
// save says so, naming each such field once, in one message.
TEST_F(ProjectTest, ASaveThatCannotStoreAValueSaysWhichFields) {
  const QString path = Open("TITLE=a\n");
  edit(IDC_AFFILIATE_ID)->setText("my PRESETS");
  edit(IDC_REDIRECT_URL)->setText("next/AUDIOMONO");
  Type(IDC_PAGE_TITLE, "b");
  Click(IDC_SAVE);
  ASSERT_EQ(prompter.prompts().size(), 1u);
  const platform::RecordedPrompt& prompt = prompter.prompts()[0];
  EXPECT_EQ(prompt.caption, "Reelwright");
  EXPECT_EQ(prompt.buttons, QStringList{"OK"});
  EXPECT_EQ(prompt.text,
            "The project was saved, but the project file cannot hold these values, so they "
            "were saved empty:\nAffiliate ID\nRedirect address");
  EXPECT_FALSE(dialog->State().modified);
  const QByteArray file = program_folder.Read("job.reel");
  EXPECT_TRUE(file.contains("TITLE=ab\r\n"));
  EXPECT_TRUE(file.contains("AFFILID=\r\n"));

  // Values the file holds: nothing to say.
  prompter.Clear();
  edit(IDC_AFFILIATE_ID)->setText("partner-7");
  edit(IDC_REDIRECT_URL)->setText("example.org");
  Click(IDC_SAVE);
  EXPECT_TRUE(prompter.prompts().empty());
  EXPECT_EQ(dialog->State().project_path, path);
}

TEST_F(ProjectTest, SaveWritesToTheOpenProjectAndReportsAFileItCannotWrite) {
  const QString path = Open("TITLE=a\n");
  Type(IDC_PAGE_TITLE, "b");
  Click(IDC_SAVE);
  EXPECT_TRUE(prompter.prompts().empty());
  EXPECT_TRUE(program_folder.Read("job.reel").contains("TITLE=ab\r\n"));

  const QString folder_as_file = program_folder.FilePath("sub");
  QDir().mkpath(folder_as_file);
  prompter.QueuePath(folder_as_file);
  Click(IDC_SAVE_AS);
  EXPECT_EQ(prompter.messages(), QStringList{folder_as_file + "\n\nCan't save the project file."});
  EXPECT_EQ(dialog->State().project_path, path);
}

}  // namespace
