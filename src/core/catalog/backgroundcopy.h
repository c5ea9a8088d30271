#pragma once

#include <QString>

#include "core/imaging/files/folderhandle.h"

namespace tessaly {

// The name the background image takes in the thumbnail folder: "back.jpg" for a ".jpg"
// file, "back.gif" for a ".gif" file (extension compared in lower case), otherwise the
// file's own name.
QString backgroundTargetName(const QString& backgroundFile);

// Puts a copy of backgroundFile into thumbFolder under its target name and removes stale
// back.jpg / back.gif copies. The source is never moved or truncated, also when it already
// bears the target name or lies in thumbFolder itself: the copy is made in a scratch folder
// first and renamed into place. Raises IoError (CopyFileToFolder's messages, or a rename
// failure) when the copy cannot be made; thumbFolder then holds no half-made copy. Everything
// in thumbFolder is written, moved and removed through its open handle.
void installBackground(const QString& backgroundFile, const FolderHandle& thumbFolder);

}  // namespace tessaly
