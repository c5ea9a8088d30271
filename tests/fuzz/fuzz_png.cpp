// PNG reader: any bytes must decode or raise an error, never crash, hang, read out of bounds
// or leak (libpng jumps out of its stages on errors).
#include <cstddef>
#include <cstdint>

#include "core/imaging/metadata/privacyfilter.h"
#include "core/imaging/reader/pngphotoreader.h"
#include "core/text/errors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    try {
        tessaly::PngPhotoReader reader(bytes, QStringLiteral("in.png"));
        tessaly::PrivacyFilter::find(reader.exif(), reader.xmp());
        if (qint64(reader.width()) * reader.height() < 4000000) reader.picture();
    } catch (const tessaly::Error&) {
    }
    return 0;
}
