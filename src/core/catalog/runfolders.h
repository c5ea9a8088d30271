#pragma once

#include "core/imaging/files/folderhandle.h"

namespace tessaly {

// The folders a catalogue run writes into, each opened once without following a link below
// the photo folder: whatever the run writes, moves or removes there goes through them.
struct RunFolders {
    FolderHandle photos;   // the photo folder, as the user named it
    FolderHandle thumbs;   // the thumbnail folder (the photo folder when it has no name)
    FolderHandle doubles;  // the double-size thumbnails' folder, for the modern page
    FolderHandle web;      // the web copies' folder, when the run makes copies
};

}  // namespace tessaly
