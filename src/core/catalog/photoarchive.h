#pragma once

#include <QString>
#include <QStringList>

#include "core/imaging/files/folderhandle.h"

namespace tessaly {

// One zip of the web copies, for the pages' "download every photograph" link: each copy
// stored as it is (JPEG files do not shrink) under its name on the pages, in the pages' order.
class PhotoArchive {
public:
    // Whether the zip at path holds exactly these names, in this order, and is not older than
    // any of the copies in the web folder: then it need not be made again.
    static bool upToDate(const QString& path, const FolderHandle& web, const QStringList& names);

    // Makes the zip of the named copies of the web folder at path (a new file in a work
    // folder, to be moved into place). Raises IoError.
    static void make(const QString& path, const FolderHandle& web, const QStringList& names);
};

}  // namespace tessaly
