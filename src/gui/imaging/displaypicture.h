#pragma once

#include <QImage>
#include <QString>

#include "core/imaging/pixels/pixelimage.h"

namespace tessaly {

// Hands a pixel image to the screen: the display picture of an image control.
class DisplayPicture {
public:
    // A copy of the picture as a 24-bit screen image (palette pictures are widened first).
    static QImage toImage(const PixelImage& picture);
    // A photograph of any format the program reads, upright, decoded as small as its reader
    // can while its shorter side keeps at least `side` pixels (for previews). Throws Error
    // subclasses as the readers do.
    static QImage readReduced(const QString& path, int side);
};

}  // namespace tessaly
