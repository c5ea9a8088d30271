#pragma once

#include "core/settings/catalogsettings.h"
#include "core/text/shell.h"
#include "gui/common/prompts.h"

namespace tessaly {

// What every window is given when it is created: the one settings record (owned by the
// main window), the prompts and the shell.
struct AppContext {
    CatalogSettings& settings;
    Prompts& prompts;
    Shell& shell;
};

}  // namespace tessaly
