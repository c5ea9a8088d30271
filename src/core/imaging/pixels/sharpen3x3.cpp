#include <vector>

#include "core/imaging/pixels/real48.h"
#include "core/imaging/pixels/thumbnailfilters.h"

namespace tessaly {

namespace {

// The neighbour sums a channel can have: eight bytes.
constexpr int kSums = 8 * 255 + 1;

// One channel: the neighbour sum times k rounded to the 6-byte real (looked up, one entry per
// sum); plus centre times the centre weight in extended precision, rounded again; clamped;
// rounded half to even (0 <= v <= 255, so truncation and the exact remainder decide, as
// nearbyint would in the default rounding mode).
uchar sharpened(long double neighbourTerm, int centre, long double centreWeight) {
    long double v = roundToReal48(neighbourTerm + centre * centreWeight);
    if (v < 0) v = 0;
    if (v > 255) v = 255;
    const int whole = int(v);
    const long double fraction = v - whole;
    return uchar(whole + ((fraction > 0.5L || (fraction == 0.5L && (whole & 1))) ? 1 : 0));
}

// Every channel value the filter can give, by neighbour sum and centre byte: worked out once
// in a process (half a megabyte), then each pixel is a look-up.
const std::vector<uchar>& sharpenedTable() {
    static const std::vector<uchar> table = [] {
        std::vector<uchar> values(size_t(kSums) * 256);
        const long double k = sharpenNeighbourWeight();
        const long double centreWeight = sharpenCentreWeight();
        for (int sum = 0; sum < kSums; ++sum) {
            const long double neighbourTerm = roundToReal48(sum * k);
            for (int centre = 0; centre < 256; ++centre) {
                values[size_t(sum) * 256 + size_t(centre)] =
                    sharpened(neighbourTerm, centre, centreWeight);
            }
        }
        return values;
    }();
    return table;
}

}  // namespace

void sharpen3x3(PixelImage& picture) {
    PixelImage source = picture;
    if (source.pixelFormat() != PixelFormat::Bgr24) source.setPixelFormat(PixelFormat::Bgr24);
    PixelImage target = source;
    const int w = source.width();
    const int h = source.height();
    if (w >= 3 && h >= 3) {
        const uchar* table = sharpenedTable().data();
        for (int y = 1; y <= h - 2; ++y) {
            const uchar* above = source.constScanLine(y - 1);
            const uchar* row = source.constScanLine(y);
            const uchar* below = source.constScanLine(y + 1);
            uchar* out = target.scanLine(y);  // the first call gives target its own copy
            for (int x = 1; x <= w - 2; ++x) {
                for (int ch = 0; ch < 3; ++ch) {
                    const int l = 3 * (x - 1) + ch, m = 3 * x + ch, r = 3 * (x + 1) + ch;
                    const int sum = above[l] + above[m] + above[r] + row[l] + row[r] + below[l] +
                                    below[m] + below[r];
                    out[m] = table[size_t(sum) * 256 + row[m]];
                }
            }
        }
    }
    picture = target;
}

}  // namespace tessaly
