// HEIF reader: any bytes must decode or raise an error, never crash, read out of bounds or
// leak; the EXIF fields kept from what it read (or from the bytes themselves) the same.
#include <cstddef>
#include <cstdint>

#include "core/imaging/heif/heifimage.h"
#include "core/imaging/jpeg/jpegsegments.h"
#include "core/imaging/metadata/photometadata.h"
#include "core/imaging/metadata/privacyfilter.h"
#include "core/text/errors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    tessaly::HeifImage image;
    try {
        image.loadFromData(bytes, QStringLiteral("in.heic"));
        tessaly::PrivacyFilter::find(image.exif(), image.xmp());
        const QByteArray kept = tessaly::PhotoMetadata::keptExif(image.exif());
        tessaly::JpegSegments segments;
        segments.append(tessaly::JpegSegments::kApp1, kept);
        segments.list.push_back({tessaly::JpegSegments::kApp2, image.iccProfile()});
        segments.insertedInto(QByteArray("\xFF\xD8\xFF\xD9", 4));
    } catch (const tessaly::Error&) {
    }
    if (!tessaly::HeifImage::looksLikeHeif(bytes)) {
        tessaly::PhotoMetadata::keptExif(QByteArray("Exif\0\0", 6) + bytes);
    }
    return 0;
}
