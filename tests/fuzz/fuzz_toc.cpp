// The table of contents' reader of catalogue pages.
#include <cstddef>
#include <cstdint>

#include "core/text/errors.h"
#include "core/toc/tocentry.h"
#include "fuzzscratch.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString page = tessaly::fuzz::writeScratch(QStringLiteral("index.htm"), data, size);
    try {
        tessaly::readTocEntry(page, QStringLiteral("folder"));
    } catch (const tessaly::Error&) {
    }
    return 0;
}
