// The real main window, active on a real (virtual) display, and a reader of its accessibility
// tree on the AT-SPI bus. Runs under tests/atspi/run_with_atspi.
#pragma once

#include <gtest/gtest.h>

#include "app/main_window_fixture.h"
#include "atspi_reader.h"

class AtspiWindowTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    // Keyboard focus, and with it focus events, needs the active window.
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get())) << "the main window never became active";
    QString why;
    ASSERT_TRUE(reader.Connect(&why)) << why.toStdString();
  }

  // The first object of the window's tree with this role and name.
  atspi::Node Named(const QString& role, const QString& name) {
    const auto node = reader.Find(
        [&](const atspi::Node& each) { return each.role == role && each.name == name; });
    if (!node)
      ADD_FAILURE() << "no " << role.toStdString() << " named '" << name.toStdString() << "'";
    return node.value_or(atspi::Node{});
  }

  atspi::Reader reader;
};
