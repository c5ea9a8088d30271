#pragma once

#include <QByteArray>

#include "core/imaging/metadata/exifblock.h"

namespace tessaly {

// The EXIF fields a converted photograph keeps: when it was taken and with what camera.
// Everything else (the orientation above all, since the converted pixels stand upright, but
// also positions, thumbnails and maker notes) is left behind (see
// ExifBlock::dateAndCameraBlock); blocks are "Exif\0\0" followed by the TIFF data.
class PhotoMetadata {
public:
    // A new block holding only the date and camera fields of exifBlock (IFD0: Make, Model,
    // DateTime; EXIF IFD: DateTimeOriginal, DateTimeDigitized, their sub-second and time
    // zone fields, exposure time, F-number, ISO, focal lengths, lens make and model).
    // Empty when the block cannot be read or holds none of them.
    static QByteArray keptExif(const QByteArray& exifBlock);

    // The block as a published copy carries it: only the listed fields libexif knows, of
    // capture time, camera, exposure and lens, Artist, Copyright, ImageDescription,
    // UserComment, colour space, size and resolution, and the GPS directory when
    // keepLocation; everything else goes (serial numbers, owner names, maker notes, packets
    // stored in EXIF, the embedded thumbnail, the interoperability directory). The
    // orientation is 1 and the pixel dimensions are width x height. Empty when the block
    // cannot be read.
    static QByteArray publishedExif(const QByteArray& exifBlock, bool keepLocation, int width,
                                    int height);

    // What of the owner's privacy a block carries.
    using Private = ExifBlock::Private;
    static Private privateFields(const QByteArray& exifBlock);
};

}  // namespace tessaly
