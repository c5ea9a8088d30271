#include "core/imaging/metadata/photometadata.h"

#include "core/imaging/metadata/exifblock.h"

namespace tessaly {

QByteArray PhotoMetadata::keptExif(const QByteArray& exifBlock) {
    if (exifBlock.isEmpty()) return {};
    return ExifBlock(exifBlock).dateAndCameraBlock();
}

}  // namespace tessaly
