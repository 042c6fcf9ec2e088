// The program's web runtime copied beside the page: only files that are missing or differ are
// written, each through the output folder, so that nothing is copied through a link.
#pragma once

#include <QString>

namespace publish {

class OutputFolder;

// The first folder under `target` (a name in `out`), `target` itself included, that is a link
// where `source` has a folder; empty when there is none. Copying must not go into such a folder.
QString FirstLinkedFolder(const QString& source, const OutputFolder& out, const QString& target);

// Makes `target` (a name in `out`) hold every file of the folder `source`, with its subfolders:
// only files that are missing or differ are copied, so a second run over an unchanged folder
// only reads. Files in `target` that `source` lacks stay. False when any copy failed.
bool CopyFolderWhereDifferent(const QString& source, OutputFolder& out, const QString& target);

}  // namespace publish
