#include <QCheckBox>
#include <QMenuBar>
#include <QSet>

#include "main_window_fixture.h"
#include "ui/control_group.h"
#include "ui/skin_button.h"
#include "ui/skin_progress.h"

namespace {

TEST_F(MainWindowTest, ClientAreaIsExactlyThePageBitmapBelowTheMenu) {
  EXPECT_EQ(dialog->ClientArea()->size(), QSize(540, 530));
  EXPECT_EQ(dialog->ClientArea()->y(), dialog->MenuBar()->height());
  EXPECT_EQ(dialog->size(), QSize(540, 530 + dialog->MenuBar()->height()));
  EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
  EXPECT_EQ(dialog->windowTitle(), "Reelwright");
}

TEST_F(MainWindowTest, ListsStartWithTheirRowsAndStartRows) {
  struct Case {
    int id;
    int rows;
    QString first, last, current;
  };
  const Case cases[] = {
      {IDC_RESOLUTION, 11, "Original", "800x600", "160x120"},
      {IDC_FRAME_RATE, 14, "Original", "30", "6"},
      {IDC_VIDEO_BITRATE, 10, "24", "1600", "24"},
      {IDC_AUDIO_BITRATE, 11, "16", "160", "32"},
      {IDC_SAMPLING_RATE, 3, "11,025", "44,100", "11,025"},
      {IDC_BUFFER_SIZE, 9, "2", "60", "5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    EXPECT_EQ(list(c.id)->count(), c.rows);
    EXPECT_EQ(list(c.id)->itemText(0), c.first);
    EXPECT_EQ(list(c.id)->itemText(c.rows - 1), c.last);
    EXPECT_EQ(list(c.id)->currentText(), c.current);
  }
  EXPECT_EQ(list(IDC_PRESET)->count(), 0);
  EXPECT_EQ(list(IDC_PRESET)->currentIndex(), -1);
  EXPECT_FALSE(list(IDC_RESOLUTION)->isEditable());
  EXPECT_TRUE(list(IDC_BUFFER_SIZE)->isEditable());
}

TEST_F(MainWindowTest, StartUpStateOfTheJob) {
  const ProjectSettings& s = dialog->settings();
  for (QLineEdit* e : {s.input_video, s.input_flv, s.output_folder, s.output_video, s.output_html,
                       s.page_title, s.affiliate_id, s.redirect_url})
    EXPECT_TRUE(e->text().isEmpty()) << e->objectName().toStdString();
  EXPECT_TRUE(s.enabled_audio->isChecked());
  EXPECT_TRUE(s.mono->isChecked());
  EXPECT_FALSE(s.stereo->isChecked());
  EXPECT_FALSE(s.paused_at_start->isChecked());
  EXPECT_TRUE(s.preload_movie->isChecked());
  EXPECT_TRUE(s.disable_i_button->isChecked());  // no settings file
  EXPECT_TRUE(s.show_border->isChecked());
  EXPECT_FALSE(s.enable_link->isChecked());
  EXPECT_FALSE(s.enable_redirect_url->isChecked());
  EXPECT_EQ(s.which_file, 0);
  EXPECT_EQ(s.which_player, -1);

  EXPECT_EQ(dialog->State().current_page, 1);
  EXPECT_TRUE(dialog->State().modified);  // applying the first preset counts as a change
  EXPECT_FALSE(dialog->State().encoded);
  EXPECT_FALSE(dialog->State().published);
  EXPECT_TRUE(dialog->State().project_path.isEmpty());
  EXPECT_TRUE(dialog->State().initialised);

  // The encoding controls wait for an input video; the 'I' button rule greys the affiliate link.
  for (int id : {IDC_RESOLUTION, IDC_PRESET, IDC_ENABLE_AUDIO, IDC_MONO, IDC_START_ENCODING,
                 IDC_ADD_PRESET, IDC_DELETE_PRESET, IDC_ENCODING_PROGRESS, IDC_LABEL_PRESET,
                 IDC_ENABLE_LINK, IDC_AFFILIATE_ID, IDC_PREVIEW_PAGE, IDC_GET_CODE})
    EXPECT_FALSE(control(id)->isEnabled()) << id;
  for (int id : {IDC_INPUT_VIDEO, IDC_BROWSE_VIDEO, IDC_PRODUCE_PAGE, IDC_BUFFER_SIZE})
    EXPECT_TRUE(control(id)->isEnabled()) << id;

  const store::EncodingPreset custom = dialog->State().custom_preset;
  EXPECT_EQ(custom.name, "Custom new");
  EXPECT_EQ(custom.resolution, 1);
  EXPECT_EQ(custom.frame_rate, 3);
  EXPECT_EQ(custom.mono, 1);
}

TEST_F(MainWindowTest, EveryControlHasAUniqueAccessibleNameAndItsIdAsObjectName) {
  QSet<QString> names;
  QList<QWidget*> controls;
  for (QWidget* w : dialog->ClientArea()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    // A group (the page tabs, the channel choice) is no control; it holds some.
    if (qobject_cast<CControlGroup*>(w))
      controls << w->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    else
      controls << w;
  }
  for (QWidget* w : controls) {
    EXPECT_TRUE(w->objectName().startsWith("IDC_")) << w->objectName().toStdString();
    if (w->metaObject() == &QLabel::staticMetaObject && !w->objectName().contains("PREVIEW"))
      continue;  // a label is known by its text (see the accessibility tests)
    EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
    EXPECT_FALSE(names.contains(w->accessibleName())) << w->accessibleName().toStdString();
    names.insert(w->accessibleName());
  }
  for (const char* name : {"Step 1",
                           "Step 2",
                           "Step 3",
                           "Back",
                           "Next",
                           "Open",
                           "Save",
                           "Save As...",
                           "Help",
                           "Exit",
                           "Browse for Input Video",
                           "Browse for Input FLV",
                           "Browse for Output Folder",
                           "Start Encoding",
                           "Save Preset",
                           "Delete Preset",
                           "Produce Web Page",
                           "Preview Web Page",
                           "Get Code...",
                           "Customize Player...",
                           "Advanced Options...",
                           "Join Now",
                           "Input Video",
                           "Input FLV",
                           "Output Folder",
                           "Output Video",
                           "Output HTML",
                           "Preset",
                           "Resolution",
                           "Frame Rate",
                           "Video Bitrate",
                           "Audio Bitrate",
                           "Sampling Rate",
                           "Page Title",
                           "Buffer Size",
                           "Affiliate ID",
                           "Redirect URL",
                           "Enable Audio",
                           "Mono",
                           "Stereo",
                           "Paused At Start",
                           "Preload Movie",
                           "Disable 'I' Button",
                           "Show border around movie",
                           "Enable Affiliate Link",
                           "Use Redirect URL After Movie",
                           "Encoded",
                           "Published",
                           "Encoding Progress",
                           "Player Preview"})
    EXPECT_TRUE(names.contains(name)) << name;
  EXPECT_EQ(dialog->ControlAs<QLabel>(IDC_PLAYER_NAME)->text(), "Which Player?");
  EXPECT_EQ(dialog->ControlAs<QLabel>(IDC_LABEL_HTTP)->text(), "http://");
}

TEST_F(MainWindowTest, MenuHasItsSixItemsWithTheirCommands) {
  QStringList texts, keys;
  QList<int> ids;
  for (QAction* menu : dialog->MenuBar()->actions())
    for (QAction* item : menu->menu()->actions()) {
      if (item->isSeparator()) continue;
      texts << item->text();
      ids << item->data().toInt();
      keys << item->shortcut().toString();
    }
  EXPECT_EQ(texts, QStringList({"&Open...", "&Save", "Save &As...", "E&xit",
                                "A&bout Reelwright... ", "S&upport Website..."}));
  EXPECT_EQ(ids, QList<int>({57601, 57603, 32773, 32774, 32775, 32776}));
  // The keys the menus show beside their items.
  EXPECT_EQ(keys, QStringList({"Ctrl+O", "Ctrl+S", "Ctrl+Shift+S", "", "", "F1"}));
}

TEST_F(MainWindowTest, SkinnedButtonsTakeTheirBitmapSizes) {
  struct Case {
    int id;
    QSize size;
  };
  const Case cases[] = {{IDC_BROWSE_VIDEO, {90, 28}}, {IDC_PRODUCE_PAGE, {166, 28}},
                        {IDC_OPEN, {50, 50}},         {IDC_ENCODED_TICK, {32, 32}},
                        {IDC_BACK, {32, 28}},         {IDC_START_ENCODING, {138, 28}},
                        {IDC_GET_CODE, {119, 28}},    {IDC_ADVANCED_OPTIONS, {172, 28}}};
  for (const Case& c : cases) EXPECT_EQ(control(c.id)->size(), c.size) << c.id;
}

}  // namespace
