// WebP reader: any bytes (stills, animations, chunks) must decode or raise an error, never
// crash, hang, read out of bounds or leak.
#include <cstddef>
#include <cstdint>

#include "core/imaging/metadata/privacyfilter.h"
#include "core/imaging/reader/webpphotoreader.h"
#include "core/text/errors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    try {
        tessaly::WebpPhotoReader reader(bytes, QStringLiteral("in.webp"));
        tessaly::PrivacyFilter::find(reader.exif(), reader.xmp());
        if (qint64(reader.width()) * reader.height() < 4000000) {
            reader.picture();
            reader.picture(4);
        }
    } catch (const tessaly::Error&) {
    }
    return 0;
}
