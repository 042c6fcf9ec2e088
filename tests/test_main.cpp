// The one main() of every test binary: a real QApplication on the offscreen platform,
// so the real dialogs run without a display.
#include <gtest/gtest.h>

#include <QApplication>

#include "ui/accessible_widgets.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Pixel sizes stay as the skin bitmaps want them, whatever the screen's scale.
  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  InstallAccessibleWidgets();
  return RUN_ALL_TESTS();
}
