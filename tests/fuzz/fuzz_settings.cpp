// The settings file reader, and a save of whatever it read.
#include <cstddef>
#include <cstdint>

#include "core/settings/catalogsettings.h"
#include "core/text/errors.h"
#include "fuzzscratch.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tessaly::fuzz::writeScratch(QStringLiteral("Quorvel.ini"), data, size);
    try {
        tessaly::CatalogSettings settings = tessaly::loadSettings(tessaly::fuzz::scratchFolder());
        tessaly::saveSettings(settings);
    } catch (const tessaly::Error&) {
    }
    return 0;
}
