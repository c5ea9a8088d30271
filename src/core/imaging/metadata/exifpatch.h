#pragma once

#include <QByteArray>

namespace tessaly {

// Edits an EXIF block in place, byte for byte, for a photograph whose pixels were turned to
// stand as they were shown: every byte not named below stays as it was, so fields that no
// library knows (maker notes above all) survive. The block is the payload of an APP1
// segment, "Exif\0\0" followed by the TIFF data; the TIFF directories are walked directly.
class ExifPatch {
public:
    // Sets IFD0's Orientation to 1 (top-left); with swapDimensions, exchanges the width and
    // height values (IFD0 ImageWidth/ImageLength, EXIF PixelXDimension/PixelYDimension);
    // with dropThumbnail, unlinks IFD1, the embedded thumbnail, which would otherwise show
    // the picture as it was stored before. False, with the block unchanged, when the TIFF
    // data is damaged or a value cannot be written in its field.
    static bool makeUpright(QByteArray& payload, bool swapDimensions, bool dropThumbnail);
};

}  // namespace tessaly
