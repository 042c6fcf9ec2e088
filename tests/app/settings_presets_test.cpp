// The settings file, the affiliate file and the encoding presets through the real window:
// what start-up reads, what the preset controls do, what a confirmed exit writes.
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QTimer>

#include "app/new_preset_dialog.h"
#include "main_window_fixture.h"
#include "publish/advanced_dialog.h"
#include "store/profile_file.h"

namespace {

// Three presets, and the other sections as a hand-edited file may have them.
const QByteArray kSettings =
    "[Autosave]\r\nDisableIButton=0\r\n"
    "[VIDEOSURL]\r\nEnabled=1\r\nURL=http://media.example.org/clips/\r\n"
    "[Mine]\r\nadded=by hand\r\n"
    "[Option0]\r\nname=Web small\r\nresolution=3\r\nframe_rate=9\r\nvideo_bitrate=5\r\n"
    "enabled_audio=0\r\naudio_bitrate=6\r\nsampling_rate=1\r\nmono=0\r\n"
    "[Option1]\r\nname=Web large\r\nresolution=7\r\nframe_rate=13\r\nvideo_bitrate=7\r\n"
    "enabled_audio=1\r\naudio_bitrate=9\r\nsampling_rate=2\r\nmono=0\r\n"
    "[Option2]\r\nname=Tiny\r\nresolution=1\r\nframe_rate=2\r\nvideo_bitrate=0\r\n"
    "enabled_audio=1\r\naudio_bitrate=0\r\nsampling_rate=0\r\nmono=1\r\n";

class SettingsTest : public MainWindowTest {
 protected:
  void SetUp() override {}  // each test writes its files, then starts the window

  void StartWith(const QByteArray& settings) {
    program_folder.Write("reelwright.ini", settings);
    Start();
  }
  void ExitAnsweringNo() {
    prompter.QueueAnswer(platform::Answer::No);
    Click(IDC_EXIT);
    ASSERT_EQ(exit_codes, std::vector<int>{0});
  }
  QStringList Sections() const {
    QStringList sections;
    for (const QByteArray& line : program_folder.Read("reelwright.ini").split('\n'))
      if (line.startsWith('[')) sections << QString(line.trimmed());
    return sections;
  }
  QStringList PresetRows() const {
    QStringList rows;
    for (int i = 0; i < list(IDC_PRESET)->count(); ++i) rows << list(IDC_PRESET)->itemText(i);
    return rows;
  }
};

// The settings file that ships in the program folder: a fresh program offers its presets, every
// one filling every list, and starts with a general one a web user can take as it is.
TEST_F(SettingsTest, TheShippedPresetsFillEveryListAndStartWithAGeneralOne) {
  QFile shipped(REELWRIGHT_SOURCE_DIR "/res/reelwright.ini");
  ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
  StartWith(shipped.readAll());
  const int count = list(IDC_PRESET)->count();
  EXPECT_GE(count, 4);
  EXPECT_LE(count, 6);
  EXPECT_EQ(list(IDC_PRESET)->currentIndex(), 0);

  // The first: at least 480 pixels wide, 25 frames a second or the source's rate, stereo sound
  // at 44.1 kHz with enough bits for music.
  const QString size = list(IDC_RESOLUTION)->currentText();
  EXPECT_TRUE(size == "Original" || size.section('x', 0, 0).toInt() >= 480) << size.toStdString();
  EXPECT_TRUE(QStringList({"Original", "25"}).contains(list(IDC_FRAME_RATE)->currentText()));
  EXPECT_GE(list(IDC_VIDEO_BITRATE)->currentText().toInt(), 768);
  EXPECT_TRUE(button(IDC_ENABLE_AUDIO)->isChecked());
  EXPECT_TRUE(button(IDC_STEREO)->isChecked());
  EXPECT_EQ(list(IDC_SAMPLING_RATE)->currentText(), "44,100");
  EXPECT_GE(list(IDC_AUDIO_BITRATE)->currentText().toInt(), 96);

  QStringList names;
  dialog->EnableEncodingControls(true);
  dialog->GoToPage(2);
  for (int row = 0; row < count; ++row) {
    Pick(IDC_PRESET, row);
    const QString name = list(IDC_PRESET)->currentText();
    names << name;
    for (int id : {IDC_RESOLUTION, IDC_FRAME_RATE, IDC_VIDEO_BITRATE, IDC_AUDIO_BITRATE,
                   IDC_SAMPLING_RATE})
      EXPECT_GE(list(id)->currentIndex(), 0) << name.toStdString() << " " << id;
  }
  names.removeDuplicates();
  EXPECT_EQ(names.size(), count);
}

TEST_F(SettingsTest, FirstStartWithoutFilesHasTheDefaults) {
  Start();
  EXPECT_TRUE(button(IDC_DISABLE_I_BUTTON)->isChecked());
  EXPECT_EQ(list(IDC_PRESET)->count(), 0);
  EXPECT_EQ(dialog->players_url().url(), "http://www.example.com/players/");
  EXPECT_EQ(dialog->videos_url().url(), "http://www.example.com/vidoes/");
  EXPECT_EQ(dialog->js_url().url(), "reelcode.js");
  EXPECT_FALSE(dialog->players_url().enabled() || dialog->videos_url().enabled() ||
               dialog->js_url().enabled());
  EXPECT_EQ(edit(IDC_AFFILIATE_ID)->text(), "");
}

TEST_F(SettingsTest, StartUpTakesTheFilesAndTheFirstPreset) {
  program_folder.Write("affiliate.cfg", "partner-42\r\nsecond line\r\n");
  StartWith(kSettings);
  EXPECT_FALSE(button(IDC_DISABLE_I_BUTTON)->isChecked());
  EXPECT_TRUE(control(IDC_ENABLE_LINK)->isEnabled());
  EXPECT_EQ(edit(IDC_AFFILIATE_ID)->text(), "partner-42");
  // Switched on in the file, but every start begins with the external locations off.
  EXPECT_FALSE(dialog->videos_url().enabled());
  EXPECT_EQ(dialog->videos_url().url(), "http://media.example.org/clips/");
  EXPECT_EQ(PresetRows(), QStringList({"Web small", "Web large", "Tiny"}));
  EXPECT_EQ(list(IDC_PRESET)->currentIndex(), 0);
  EXPECT_EQ(list(IDC_RESOLUTION)->currentText(), "320x240");
  EXPECT_EQ(list(IDC_FRAME_RATE)->currentText(), "15");
  EXPECT_EQ(list(IDC_SAMPLING_RATE)->currentText(), "22,050");
  EXPECT_TRUE(button(IDC_STEREO)->isChecked());
  // The first preset has no audio, yet start-up switches audio on all the same.
  EXPECT_TRUE(button(IDC_ENABLE_AUDIO)->isChecked());
  EXPECT_TRUE(dialog->State().modified);
}

TEST_F(SettingsTest, DisableIButtonIsCheckedOnlyByOneOrAMissingKey) {
  const std::pair<QByteArray, bool> cases[] = {{"[Autosave]\nDisableIButton=1\n", true},
                                               {"[Autosave]\nDisableIButton=0\n", false},
                                               {"[Autosave]\nDisableIButton=2\n", false},
                                               {"[autosave]\ndisableibutton = 0 \n", false},
                                               {"[Autosave]\n", true},
                                               {"junk", true}};
  for (const auto& [file, checked] : cases) {
    StartWith(file);
    EXPECT_EQ(button(IDC_DISABLE_I_BUTTON)->isChecked(), checked) << file.toStdString();
    dialog->SetCurrentProject(dialog->State().project_path);
  }
}

TEST_F(SettingsTest, APresetGapEndsTheListAndExitRenumbersWithoutIt) {
  QByteArray gap = kSettings;
  gap.replace("[Option2]", "[Option3]");
  StartWith(gap);
  EXPECT_EQ(PresetRows(), QStringList({"Web small", "Web large"}));
  ExitAnsweringNo();
  EXPECT_EQ(Sections(), QStringList({"[Autosave]", "[PLAYERSURL]", "[VIDEOSURL]", "[JSURL]",
                                     "[Option0]", "[Option1]", "[MP4Twin]"}));
  const QByteArray file = program_folder.Read("reelwright.ini");
  EXPECT_TRUE(file.startsWith("[Autosave]\r\nDisableIButton=0\r\n[PLAYERSURL]\r\nEnabled=0\r\n"));
  EXPECT_TRUE(file.contains("[VIDEOSURL]\r\nEnabled=0\r\nURL=http://media.example.org/clips/\r\n"));
  EXPECT_TRUE(file.contains("[Option1]\r\nname=Web large\r\nresolution=7\r\nframe_rate=13\r\n"));
  EXPECT_FALSE(file.contains("Mine"));
}

TEST_F(SettingsTest, CancelAtTheExitQuestionWritesNothing) {
  program_folder.Write("affiliate.cfg", "old id");
  StartWith(kSettings);
  Type(IDC_PAGE_TITLE, "changed");
  prompter.QueueAnswer(platform::Answer::Cancel);
  Click(IDC_EXIT);
  EXPECT_TRUE(exit_codes.empty());
  EXPECT_EQ(program_folder.Read("reelwright.ini"), kSettings);
  EXPECT_EQ(program_folder.Read("affiliate.cfg"), "old id");
}

TEST_F(SettingsTest, TheAffiliateIdComesBackCutAndAnEmptyOneLeavesAnEmptyFile) {
  program_folder.Write("affiliate.cfg", QByteArray(600, 'a'));
  Start();
  EXPECT_EQ(edit(IDC_AFFILIATE_ID)->text().size(), 498);
  edit(IDC_AFFILIATE_ID)->clear();
  ExitAnsweringNo();
  EXPECT_TRUE(program_folder.Exists("affiliate.cfg"));
  EXPECT_EQ(program_folder.Read("affiliate.cfg"), "");
}

TEST_F(SettingsTest, ChoosingAPresetFillsTheListsAndHandChangesClearIt) {
  StartWith(kSettings);
  dialog->EnableEncodingControls(true);
  dialog->GoToPage(2);
  Pick(IDC_PRESET, 1);
  EXPECT_EQ(list(IDC_RESOLUTION)->currentText(), "640x480");
  EXPECT_TRUE(control(IDC_DELETE_PRESET)->isEnabled());
  // Enable Audio keeps the preset chosen and the custom values as they were.
  const store::EncodingPreset before = dialog->State().custom_preset;
  Click(IDC_ENABLE_AUDIO);
  EXPECT_EQ(list(IDC_PRESET)->currentIndex(), 1);
  EXPECT_EQ(dialog->State().custom_preset.resolution, before.resolution);
  // Any list pick, the buffer size's too, leaves no preset chosen and captures the values.
  for (int id : {IDC_FRAME_RATE, IDC_BUFFER_SIZE}) {
    Pick(IDC_PRESET, 0);
    Pick(id, 2);
    EXPECT_EQ(list(IDC_PRESET)->currentIndex(), -1) << id;
    EXPECT_FALSE(control(IDC_DELETE_PRESET)->isEnabled());
    EXPECT_EQ(dialog->State().custom_preset.resolution, 3);
    EXPECT_EQ(dialog->State().custom_preset.mono, 0);
  }
  // A preset without audio switches it off when chosen.
  Pick(IDC_PRESET, 1);
  Pick(IDC_PRESET, 0);
  EXPECT_FALSE(button(IDC_ENABLE_AUDIO)->isChecked());
}

// Delete Preset follows the preset list's selection, also while the encoding page is greyed;
// only switching the page's controls off greys it with them.
// A file larger than what start-up reads keeps everything past that part: the exit leaves it
// exactly as it was, whatever changed in the window.
TEST_F(SettingsTest, ASettingsFileTooLargeToReadWholeIsLeftUntouchedAtExit) {
  QByteArray settings = kSettings;
  QByteArray filler = "; " + QByteArray(78, 'x') + "\r\n";
  while (settings.size() <= store::ProfileFile::kMaxBytes) settings.append(filler);
  settings.append("[Option3]\r\nname=Past the first part\r\nresolution=2\r\n");
  StartWith(settings);
  EXPECT_EQ(PresetRows(), QStringList({"Web small", "Web large", "Tiny"}));
  dialog->EnableEncodingControls(true);
  Click(IDC_DELETE_PRESET);
  edit(IDC_AFFILIATE_ID)->setText("kept");
  ExitAnsweringNo();
  EXPECT_EQ(program_folder.Read("reelwright.ini"), settings);
  EXPECT_EQ(program_folder.Read("affiliate.cfg"), "kept");
}

TEST_F(SettingsTest, DeletePresetIsUsableExactlyWhenAPresetIsChosen) {
  StartWith(kSettings);
  ASSERT_FALSE(control(IDC_START_ENCODING)->isEnabled());
  EXPECT_FALSE(control(IDC_DELETE_PRESET)->isEnabled());
  program_folder.Write("job.reel", "WHICHFILE=0\nPRESET=Web large\n");
  dialog->OpenProject(program_folder.FilePath("job.reel"));
  ASSERT_EQ(list(IDC_PRESET)->currentText(), "Web large");
  EXPECT_FALSE(control(IDC_START_ENCODING)->isEnabled());
  EXPECT_TRUE(control(IDC_DELETE_PRESET)->isEnabled());

  program_folder.Write("none.reel", "WHICHFILE=0\n");
  dialog->OpenProject(program_folder.FilePath("none.reel"));
  EXPECT_EQ(list(IDC_PRESET)->currentIndex(), -1);
  EXPECT_FALSE(control(IDC_DELETE_PRESET)->isEnabled());

  dialog->OpenProject(program_folder.FilePath("job.reel"));
  EXPECT_TRUE(control(IDC_DELETE_PRESET)->isEnabled());
  dialog->EnableEncodingControls(false);
  EXPECT_FALSE(control(IDC_DELETE_PRESET)->isEnabled());
}

TEST_F(SettingsTest, DeletingChoosesTheNextOrTheNewLastPreset) {
  StartWith(kSettings);
  dialog->EnableEncodingControls(true);
  dialog->GoToPage(2);
  Pick(IDC_PRESET, 1);
  Click(IDC_DELETE_PRESET);
  EXPECT_EQ(PresetRows(), QStringList({"Web small", "Tiny"}));
  EXPECT_EQ(list(IDC_PRESET)->currentText(), "Tiny");
  EXPECT_EQ(list(IDC_FRAME_RATE)->currentText(), "5");
  Click(IDC_DELETE_PRESET);
  EXPECT_EQ(list(IDC_PRESET)->currentText(), "Web small");
  Click(IDC_DELETE_PRESET);
  EXPECT_EQ(list(IDC_PRESET)->currentIndex(), -1);
  EXPECT_EQ(list(IDC_RESOLUTION)->currentText(), "320x240");  // the controls keep their values
  EXPECT_FALSE(control(IDC_DELETE_PRESET)->isEnabled());
}

TEST_F(SettingsTest, AfterDeletingTheFirstPresetTheFileHoldsTheOthersFromZero) {
  StartWith(kSettings);
  dialog->EnableEncodingControls(true);
  Click(IDC_DELETE_PRESET);
  ExitAnsweringNo();
  const QByteArray file = program_folder.Read("reelwright.ini");
  EXPECT_TRUE(file.contains("[Option0]\r\nname=Web large\r\n"));
  EXPECT_TRUE(file.contains("[Option1]\r\nname=Tiny\r\n"));
  EXPECT_FALSE(file.contains("[Option2]"));
}

TEST_F(SettingsTest, SavePresetAsksForANameAndKeepsWhatTheListsShow) {
  Start();
  dialog->EnableEncodingControls(true);
  dialog->GoToPage(2);
  Pick(IDC_RESOLUTION, 5);
  Click(IDC_STEREO);
  QString prompt;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<CNewPresetDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    prompt = box->findChild<QLabel*>("IDC_PRESET_NAME_PROMPT")->text();
    QTest::keyClicks(box->name_edit(), "Holiday");
    box->accept();
  });
  Click(IDC_ADD_PRESET);
  EXPECT_EQ(prompt, "Please enter name for preset:");
  EXPECT_EQ(PresetRows(), QStringList({"Holiday"}));
  EXPECT_EQ(list(IDC_PRESET)->currentIndex(), 0);
  ASSERT_EQ(dialog->State().presets.size(), 1u);
  EXPECT_EQ(dialog->State().presets[0].resolution, 5);
  EXPECT_EQ(dialog->State().presets[0].mono, 0);
  EXPECT_EQ(dialog->State().custom_preset.name, "Custom new");

  // Cancel adds nothing; a blank name adds nothing.
  QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
  Click(IDC_ADD_PRESET);
  dialog->AddPresetFromControls("   ");
  EXPECT_EQ(PresetRows(), QStringList({"Holiday"}));
}

TEST_F(SettingsTest, AdvancedOptionsEditOnOkOnlyAndStartSwitchedOff) {
  Start();
  dialog->GoToPage(3);
  {
    AdvancedDlg options(dialog.get(), dialog->players_url(), dialog->videos_url(), dialog->js_url(),
                        dialog->publish_mp4());
    options.Create(96);
    EXPECT_EQ(options.size(), QSize(371, 244));
    EXPECT_EQ(options.url(2)->text(), "reelcode.js");
    EXPECT_FALSE(options.url(2)->isEnabled());
    QTest::mouseClick(options.check(2), Qt::LeftButton);
    EXPECT_TRUE(options.url(2)->isEnabled());
    options.url(2)->setText("  http://cdn.example.net/code.js ");
    options.reject();
  }
  EXPECT_FALSE(dialog->js_url().enabled());
  EXPECT_EQ(dialog->js_url().url(), "reelcode.js");
  {
    AdvancedDlg options(dialog.get(), dialog->players_url(), dialog->videos_url(), dialog->js_url(),
                        dialog->publish_mp4());
    options.Create(96);
    QTest::mouseClick(options.check(2), Qt::LeftButton);
    options.url(2)->setText("  http://cdn.example.net/code.js ");
    EXPECT_TRUE(options.publish_mp4_check()->isChecked());
    QTest::mouseClick(options.publish_mp4_check(), Qt::LeftButton);
    options.accept();
  }
  EXPECT_FALSE(dialog->publish_mp4());
  EXPECT_TRUE(dialog->js_url().enabled());
  EXPECT_EQ(dialog->js_url().url(), "  http://cdn.example.net/code.js ");  // kept as typed
  ExitAnsweringNo();
  Start();
  EXPECT_FALSE(dialog->js_url().enabled());
  EXPECT_EQ(dialog->js_url().url(), "http://cdn.example.net/code.js");  // the file trims it
  EXPECT_FALSE(dialog->publish_mp4());  // kept in the settings file, unlike the switches
}

}  // namespace
