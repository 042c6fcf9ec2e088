// Where the program keeps the files it writes for itself: the settings file, the affiliate file
// and the encoder's progress file. This is the one place that decides it.
//
// A program folder this process can write is a portable copy: everything stays in it, as it
// always has. A program folder it cannot write (installed system-wide, owned by root) sends the
// files to the user's own folders instead, so that every user keeps their settings and every
// running program its own progress file. Resources (the template, the players, the encoder and
// the metadata tool, the help) are always read from the program folder.
#pragma once

#include <QString>

namespace platform {

// Whether this process may create files in the program folder (the portable layout).
bool ProgramFolderIsWritable();

// The user's folder for the program's files: $XDG_CONFIG_HOME/reelwright, by default
// ~/.config/reelwright.
QString UserConfigFolder();

// The file `name` ("reelwright.ini", "affiliate.cfg") to read at start-up: in a portable copy
// the program folder's; otherwise the user's when there is one, else the program folder's (so
// an administrator can ship defaults beside the program).
QString OwnFileToRead(const QString& name);

// The file `name` to write when leaving: in a portable copy the program folder's; otherwise the
// user's, whose folder is made (private to the user) when missing.
QString OwnFileToWrite(const QString& name);

// The folder the encoder runs in and keeps its progress file "stat" in. In a portable copy the
// program folder; otherwise a folder of this running program's own, made on first use under
// $XDG_RUNTIME_DIR/reelwright (or $XDG_CACHE_HOME/reelwright, by default ~/.cache/reelwright,
// when there is no runtime folder), so that two programs never share a progress file.
QString EncoderWorkingFolder();

// From now on EncoderWorkingFolder() is a folder of this running program's own also in a
// portable copy: for a program that may run several times at once from one program folder,
// where a shared progress file would mix the runs' progress and delete each other's.
void UseOwnEncoderWorkingFolder();

// Removes this program's own working folder, if one was made. Called when the process ends
// (it is also removed at a normal end of the process without this call).
void RemoveEncoderWorkingFolder();

}  // namespace platform
