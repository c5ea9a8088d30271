#pragma once

#include "core/imaging/pixels/pixelimage.h"

namespace tessaly {

// The picture as a viewer shows it for an EXIF Orientation value: 1 upright, 2 mirrored
// left-right, 3 turned 180 degrees, 4 mirrored top-bottom, 5 transposed, 6 turned 90 degrees
// clockwise, 7 transversed, 8 turned 90 degrees counter-clockwise. Values 5 to 8 swap width
// and height; any other value leaves the picture as it is.
PixelImage applyOrientation(const PixelImage& picture, int orientation);

// The stored pixel (sx, sy) of a w x h stored picture that is shown at (dx, dy) for the
// Orientation value (2 to 8; any other value shows the picture as stored).
void orientedSource(int orientation, int dx, int dy, int w, int h, int& sx, int& sy);

}  // namespace tessaly
