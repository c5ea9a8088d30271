#pragma once

#include "core/imaging/pixels/pixelimage.h"

namespace tessaly::test {

// True when both pictures have one size and every pixel value is the same.
inline bool samePixels(const PixelImage& a, const PixelImage& b) {
    if (a.width() != b.width() || a.height() != b.height()) return false;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) != b.pixel(x, y)) return false;
        }
    }
    return true;
}

}  // namespace tessaly::test
