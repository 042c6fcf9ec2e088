#include <QApplication>
#include <cstdio>

#include "app/converter_app.h"
#include "ui/accessible_widgets.h"

int main(int argc, char** argv) {
#ifdef Q_OS_LINUX
  if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
      qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    std::fputs(
        "Reelwright needs a display to open its window (set DISPLAY, or "
        "QT_QPA_PLATFORM=offscreen).\n",
        stderr);
    return 1;
  }
#endif
  // The window and its bitmaps keep their pixel sizes at every screen scale; the dialog font
  // follows the DPI instead.
  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Reelwright"));
  InstallAccessibleWidgets();
  return CConverterApp().InitInstance(QApplication::arguments());
}
