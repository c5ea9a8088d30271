#pragma once

#include "core/imaging/pixels/pixelimage.h"

namespace tessaly {

// The scale factor s of the area-averaging reduction (the smaller of tw / w and th / h),
// stored as a 6-byte real.
long double averageReduceScale(int w, int h, int tw, int th);
// The size the reduction leaves: trunc(s * w) by trunc(s * h) (may be 0).
void averageReduceSize(int w, int h, int tw, int th, int& outW, int& outH);

// Area-averaging reduction of a w x h picture for a tw x th box. The picture becomes a
// 24-bit image of trunc(s * w) x trunc(s * h) pixels whose every pixel is the truncated
// mean of one band-by-run block of source pixels (blocks bounded at trunc(i / s)).
// The picture must be w x h and the result at least 1 x 1 (ImageSizeError otherwise).
void averageReduce(PixelImage& picture, int w, int h, int tw, int th);

// 3 x 3 sharpening of the inner pixels (neighbour weight -0.1, centre 1.8, 6-byte reals);
// the picture becomes 24-bit; the border pixels and pictures under 3 x 3 stay unchanged.
void sharpen3x3(PixelImage& picture);

// The source index under the centre of target index i when n source cells are stretched
// onto m targets (rows or columns of StretchNearest).
int stretchSample(int i, int n, int m);

// Nearest-neighbour stretch to tw x th: every target pixel copies the source pixel under
// its centre, so whole rows and columns are dropped or repeated. 8-bit and 24-bit pictures
// keep their format (and colour table); others become 24-bit.
PixelImage stretchNearest(const PixelImage& source, int tw, int th);

}  // namespace tessaly
