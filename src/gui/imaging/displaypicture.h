#pragma once

#include <QImage>

#include "core/imaging/pixels/pixelimage.h"

namespace tessaly {

// Hands a pixel image to the screen: the display picture of an image control.
class DisplayPicture {
public:
    // A copy of the picture as a 24-bit screen image (palette pictures are widened first).
    static QImage toImage(const PixelImage& picture);
};

}  // namespace tessaly
