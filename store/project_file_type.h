// The project file as the Open and Save As dialogs offer it.
#pragma once

#include <QList>

#include "platform/prompter.h"

namespace store {

// Without the dot, as the save dialog adds it to a name typed without one.
inline constexpr char kProjectFileSuffix[] = "reel";
inline constexpr char kOpenProjectTitle[] = "Open Project";
inline constexpr char kSaveProjectTitle[] = "Save Project As";

inline QList<platform::FileFilter> ProjectFileFilters() {
  return {{"Reelwright Projects (*.reel)", "*.reel"}, {"All Files (*)", "*"}};
}

}  // namespace store
