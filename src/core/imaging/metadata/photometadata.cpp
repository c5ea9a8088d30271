#include "core/imaging/metadata/photometadata.h"

#include "core/imaging/metadata/exifblock.h"

namespace tessaly {

QByteArray PhotoMetadata::keptExif(const QByteArray& exifBlock) {
    if (exifBlock.isEmpty()) return {};
    return ExifBlock(exifBlock).dateAndCameraBlock();
}

QByteArray PhotoMetadata::publishedExif(const QByteArray& exifBlock, bool keepLocation, int width,
                                        int height) {
    return ExifBlock::publishedBlock(exifBlock, keepLocation, width, height);
}

PhotoMetadata::Private PhotoMetadata::privateFields(const QByteArray& exifBlock) {
    return ExifBlock::privateFields(exifBlock);
}

}  // namespace tessaly
