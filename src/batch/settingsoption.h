#pragma once

#include <QString>

#include "core/settings/catalogsettings.h"

namespace tessaly::batch {

// The settings named by -s/--settings, the same for every mode: a settings file of any name,
// or a folder holding Quorvel.ini; none named, the window program's own (see
// settingsFolderFor). Raises IoError when the path names neither, and the errors of
// loadSettings for a file that cannot be read.
CatalogSettings readSettingsOption(const QString& given);

}  // namespace tessaly::batch
