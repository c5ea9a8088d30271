#include "core/imaging/metadata/exiforientation.h"

#include <QByteArray>

#include "core/imaging/metadata/exifblock.h"

namespace tessaly {

bool isExifPayload(const unsigned char* payload, size_t size) {
    return ExifBlock::isExifPayload(payload, size);
}

int exifOrientation(const unsigned char* payload, size_t size) {
    if (!isExifPayload(payload, size) || size > 0xFFFF) return 1;
    const QByteArray block(reinterpret_cast<const char*>(payload), qsizetype(size));
    return ExifBlock(block).orientation();
}

}  // namespace tessaly
