#pragma once

#include <QString>

#include "core/settings/catalogsettings.h"

namespace tessaly {

// The folders the program makes for itself beside the photographs: the thumbnail folder
// (thumbFolderName), the rotation window's backups ("_backup") and, inside the thumbnail
// folder, the web copies ("web") and the second thumbnails of the modern page ("2x"). They
// hold no album: the folder walk passes them over, the contents page leaves them out and no
// catalogue is made in one.
enum class ProgramFolder { None, Thumbnails, Backups, WebCopies, DoubleThumbnails };

// What the folder at path is (a trailing "/" allowed); None for every other folder.
ProgramFolder programFolderOf(const QString& path, const CatalogSettings& settings);

// Why no catalogue is made in the folder at path, for the user; empty when one may be.
QString programFolderMessage(const QString& path, const CatalogSettings& settings);

}  // namespace tessaly
