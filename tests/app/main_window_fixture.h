// A real main window, created as at start-up with the scripted prompter answering its
// questions, and user actions on its controls.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <memory>

#include "app/main_dialog.h"
#include "platform/scripted_prompter.h"
#include "qt_printers.h"
#include "res/resource.h"
#include "temporary_program_folder.h"

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { Start(); }

  // A new window as at start-up, reading the program folder's files (and a project, if given).
  void Start(const QString& project = {}) {
    dialog = std::make_unique<CMainDialog>(project);
    dialog->SetProcessExit([this](int code) { exit_codes.push_back(code); });
    dialog->Create(96);
    dialog->show();
  }

  void TearDown() override {
    // Nothing modified: the teardown closes the window without a question.
    dialog.reset();
  }

  QWidget* control(int id) const { return dialog->Control(id); }
  QLineEdit* edit(int id) const { return dialog->ControlAs<QLineEdit>(id); }
  QComboBox* list(int id) const { return dialog->ControlAs<QComboBox>(id); }
  QAbstractButton* button(int id) const { return dialog->ControlAs<QAbstractButton>(id); }
  bool shown(int id) const { return !control(id)->isHidden(); }

  void Click(int id) { QTest::mouseClick(button(id), Qt::LeftButton); }
  void Type(int id, const QString& text) { QTest::keyClicks(edit(id), text); }

  // Picks a row from the list's drop-down with the mouse, as a user does.
  void Pick(int id, int row) {
    QComboBox* combo = list(id);
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    const QModelIndex index = view->model()->index(row, 0);
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
    combo->hidePopup();
  }

  TemporaryProgramFolder program_folder;
  platform::ScriptedPrompter prompter;
  std::unique_ptr<CMainDialog> dialog;
  std::vector<int> exit_codes;
};
