#pragma once

#include "core/imaging/pixels/pixelimage.h"

namespace tessaly {

// The picture resized to tw x th by bilinear interpolation (pixel centres aligned, 8-bit
// fixed-point weights): for the small reductions of a picture already decoded near its size.
// The result is 24-bit; the source may be of any format.
PixelImage bilinearResize(const PixelImage& source, int tw, int th);

}  // namespace tessaly
