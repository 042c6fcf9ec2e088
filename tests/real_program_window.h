// The real main window in a copy of the built program folder, with the real encoder, metadata
// tool, template, players and web runtime; a work folder for the clips; user actions on the
// window and on the modal dialogs it opens.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "app/main_dialog.h"
#include "encode/encoding_run.h"
#include "platform/program_folder.h"
#include "platform/scripted_prompter.h"
#include "platform/stand_in_program.h"
#include "program_folder_copy.h"
#include "res/resource.h"
#include "test_clip.h"

class RealProgramWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(test_support::CopyProgramFolder(REELWRIGHT_PROGRAM_DIR, program_.path()));
    platform::OverrideProgramFolder(program_.path());
    dialog_ = std::make_unique<CMainDialog>();
    dialog_->SetProcessExit([](int) {});
    dialog_->Create(96);
    dialog_->show();
  }
  void TearDown() override {
    if (dialog_) dialog_->SetCurrentProject(dialog_->State().project_path);
    dialog_.reset();
    platform::OverrideProgramFolder({});
  }

  // A clip made by ffmpeg in the work folder (without sound unless `source` says so).
  QString MakeClip(const QString& name, const QStringList& codec_options,
                   const test_support::ClipSource& source = {.sound = false}) {
    const QString path = work_.filePath(name);
    test_support::MakeTestClip(path, codec_options, source);
    return path;
  }

  void Click(int id) { QTest::mouseClick(dialog_->Control(id), Qt::LeftButton); }
  QLineEdit* Edit(int id) { return dialog_->ControlAs<QLineEdit>(id); }
  bool Shown(int id) { return !dialog_->Control(id)->isHidden(); }
  bool Enabled(int id) { return dialog_->Control(id)->isEnabled(); }

  // Browse for the movie, as a user does, and press Start Encoding; waits for the tick or the
  // end of the run.
  void ChooseAndEncode(const QString& movie) {
    prompter_.QueuePath(movie);
    Click(IDC_BROWSE_VIDEO);
    dialog_->GoToPage(2);
    Click(IDC_START_ENCODING);
    ASSERT_TRUE(
        test_support::WaitUntil([this] { return !dialog_->encoding_run().running(); }, 120000));
  }
  // The same, for tests that need the encoding to succeed.
  void EncodeMovie(const QString& movie) {
    ASSERT_NO_FATAL_FAILURE(ChooseAndEncode(movie));
    ASSERT_TRUE(dialog_->State().encoded) << prompter_.messages().join('|').toStdString();
  }

  // Runs `act` on the modal dialog of type D that the click on `id` opens; a dialog still open
  // after a while is closed, so that a broken test fails instead of hanging.
  template <typename D>
  void OnModal(int id, const std::function<void(D*)>& act) {
    bool seen = false;
    QTimer::singleShot(0, [&] {
      auto* d = qobject_cast<D*>(QApplication::activeModalWidget());
      seen = d != nullptr;
      if (d) act(d);
    });
    QTimer safety;
    safety.setSingleShot(true);
    QObject::connect(&safety, &QTimer::timeout, [] {
      if (QWidget* open = QApplication::activeModalWidget()) open->close();
    });
    safety.start(20000);
    Click(id);
    EXPECT_TRUE(seen);
  }

  QTemporaryDir program_, work_;
  platform::ScriptedPrompter prompter_;
  std::unique_ptr<CMainDialog> dialog_;
};
