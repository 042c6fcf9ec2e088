// The Browse buttons of page 1 in the real window, answered by the scripted prompter.
#include "encode/input_browse.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include "app/main_dialog.h"
#include "platform/scripted_prompter.h"
#include "qt_printers.h"
#include "res/resource.h"
#include "temporary_program_folder.h"

namespace {

class InputBrowseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dialog_.SetProcessExit([](int) {});
    dialog_.Create(96);
    dialog_.show();
  }
  void TearDown() override { dialog_.SetCurrentProject(dialog_.State().project_path); }
  void Click(int id) { QTest::mouseClick(dialog_.Control(id), Qt::LeftButton); }
  ProjectSettings& s() { return dialog_.settings(); }

  TemporaryProgramFolder program_folder_;
  platform::ScriptedPrompter prompter_;
  CMainDialog dialog_;
};

TEST_F(InputBrowseTest, TheMovieDialogAsksForAnExistingVideoWithItsFilters) {
  Click(IDC_BROWSE_VIDEO);
  ASSERT_EQ(prompter_.prompts().size(), 1u);
  const platform::RecordedPrompt& prompt = prompter_.prompts()[0];
  EXPECT_EQ(prompt.kind, platform::RecordedPrompt::Kind::OpenFile);
  EXPECT_EQ(prompt.caption, "Browse for Movie File");
  ASSERT_EQ(prompt.filters.size(), 4);
  EXPECT_EQ(prompt.filters[2].name, "MPEG Movie (*.mpg;*.mpeg)");
  EXPECT_EQ(prompt.filters[2].patterns, "*.mpg;*.mpeg");
  Click(IDC_BROWSE_FLV);
  EXPECT_EQ(prompter_.prompts()[1].caption, "Browse for Flash Movie");
  EXPECT_EQ(prompter_.prompts()[1].filters[0].name, "Flash Video (*.flv)");
}

// Each picker opens where its field's value lies.
TEST_F(InputBrowseTest, PickersOpenInTheFolderOfTheirField) {
  QTemporaryDir videos, flvs, out;
  s().input_video->setText(QDir(videos.path()).filePath("holiday.avi"));
  s().input_flv->setText(QDir(flvs.path()).filePath("holiday.flv"));
  s().output_folder->setText(out.path());
  Click(IDC_BROWSE_VIDEO);
  Click(IDC_BROWSE_FLV);
  Click(IDC_BROWSE_FOLDER);
  ASSERT_EQ(prompter_.prompts().size(), 3u);
  EXPECT_EQ(prompter_.prompts()[0].suggested_path, videos.path());
  EXPECT_EQ(prompter_.prompts()[1].suggested_path, flvs.path());
  EXPECT_EQ(prompter_.prompts()[2].suggested_path, out.path());
}

TEST_F(InputBrowseTest, AChosenMovieFillsTheOutputAndEnablesEncoding) {
  s().output_folder->setText("/typed/elsewhere");
  s().input_flv->setText("/old/clip.flv");
  dialog_.SetCurrentProject(dialog_.State().project_path);
  prompter_.QueuePath("/videos/my.holiday.avi");
  Click(IDC_BROWSE_VIDEO);
  EXPECT_EQ(s().input_video->text(), "/videos/my.holiday.avi");
  EXPECT_EQ(s().output_folder->text(), "/videos");
  EXPECT_EQ(s().output_video->text(), "my.holiday.flv");
  EXPECT_EQ(s().output_html->text(), "index.html");
  EXPECT_EQ(s().input_flv->text(), "");
  EXPECT_EQ(s().which_file, 1);
  EXPECT_TRUE(dialog_.Control(IDC_START_ENCODING)->isEnabled());
  EXPECT_TRUE(dialog_.State().modified);
}

TEST_F(InputBrowseTest, AChosenFlvKeepsItsNameAndDisablesEncoding) {
  prompter_.QueuePath("/videos/clip.avi");
  Click(IDC_BROWSE_VIDEO);
  s().output_html->setText("page.html");
  prompter_.QueuePath("/flv/clip.flv");
  Click(IDC_BROWSE_FLV);
  EXPECT_EQ(s().input_flv->text(), "/flv/clip.flv");
  EXPECT_EQ(s().input_video->text(), "");
  EXPECT_EQ(s().output_folder->text(), "/flv");
  EXPECT_EQ(s().output_video->text(), "clip.flv");
  EXPECT_EQ(s().output_html->text(), "page.html");
  EXPECT_EQ(s().which_file, 2);
  EXPECT_FALSE(dialog_.Control(IDC_START_ENCODING)->isEnabled());
  EXPECT_FALSE(dialog_.Control(IDC_DELETE_PRESET)->isEnabled());
}

TEST_F(InputBrowseTest, AMovieInTheRootFolderKeepsTheRoot) {
  prompter_.QueuePath("/clip");
  Click(IDC_BROWSE_VIDEO);
  EXPECT_EQ(s().output_folder->text(), "/");
  EXPECT_EQ(s().output_video->text(), "clip.flv");
}

TEST_F(InputBrowseTest, CancelChangesNothing) {
  dialog_.SetCurrentProject(dialog_.State().project_path);
  Click(IDC_BROWSE_VIDEO);
  Click(IDC_BROWSE_FLV);
  Click(IDC_BROWSE_FOLDER);
  EXPECT_FALSE(dialog_.State().modified);
  EXPECT_EQ(s().which_file, 0);
  EXPECT_EQ(s().output_folder->text(), "");
}

TEST_F(InputBrowseTest, AChosenOutputFolderNamesThePageWhenItHasNoName) {
  prompter_.QueuePath("/srv/www");
  Click(IDC_BROWSE_FOLDER);
  EXPECT_EQ(
      prompter_.prompts()[0].caption,
      "Please select an existing folder  OR\r\nCreate a new folder using the New Folder button");
  EXPECT_EQ(s().output_folder->text(), "/srv/www");
  EXPECT_EQ(s().output_html->text(), "index.html");
}

}  // namespace
