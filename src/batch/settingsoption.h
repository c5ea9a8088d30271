#pragma once

#include <QString>

#include "core/settings/catalogsettings.h"

namespace tessaly::batch {

// The settings named by -s/--settings, the same for every mode: a settings file of any name,
// read where it is, or a folder holding Quorvel.ini (a folder without one: a notice on
// standard error, and the defaults); none named, the window program's own (see
// settingsFolderFor). Raises IoError when nothing is at the path, and the errors of
// loadSettingsFile, naming the path as given, for one that cannot be read.
CatalogSettings readSettingsOption(const QString& given);

}  // namespace tessaly::batch
