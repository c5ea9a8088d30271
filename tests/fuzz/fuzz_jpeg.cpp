// JPEG decoding and the thumbnail maker on whatever it decodes.
#include <cstddef>
#include <cstdint>

#include "core/imaging/thumbnailmaker.h"
#include "core/text/errors.h"
#include "fuzzscratch.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString source = tessaly::fuzz::writeScratch(QStringLiteral("in.jpg"), data, size);
    tessaly::ThumbnailMaker maker;
    try {
        maker.load(source);
        if (static_cast<long long>(maker.imageWidth()) * maker.imageHeight() > 4000000) return 0;
        const bool filter = size % 2 == 0;
        const tessaly::ThumbnailBox box{40, 30, 75, filter};
        maker.make(box, tessaly::fuzz::scratchFolder() + QStringLiteral("/thumb.jpg"),
                   [](const QString&) {});
    } catch (const tessaly::Error&) {
    }
    return 0;
}
