#include <cmath>
#include <vector>

#include "core/imaging/real48.h"
#include "core/imaging/thumbnailfilters.h"

namespace tessaly {

namespace {

// Sums of one output column: blue, green, red and the pixel count.
struct Sums {
    qint32 b = 0, g = 0, r = 0, count = 0;
};

int boundary(int index, long double step) { return int(std::trunc(index * step)); }

}  // namespace

long double averageReduceScale(int w, int h, int tw, int th) {
    const long double ratioH = static_cast<long double>(h) / th;
    const long double ratioW = static_cast<long double>(w) / tw;
    const long double s = ratioH >= ratioW ? static_cast<long double>(th) / h
                                           : static_cast<long double>(tw) / w;
    return roundToReal48(s);
}

void averageReduceSize(int w, int h, int tw, int th, int& outW, int& outH) {
    const long double s = averageReduceScale(w, h, tw, th);
    outW = int(std::trunc(s * w));
    outH = int(std::trunc(s * h));
}

void AverageReduce(TNkDIB& picture, int w, int h, int tw, int th) {
    if (picture.PixelFormat() != nk24Bit) picture.SetPixelFormat(nk24Bit);
    const long double step = 1.0L / averageReduceScale(w, h, tw, th);
    // Run boundaries are the same for every row: runs[n] = (x0, x1).
    std::vector<std::pair<int, int>> runs;
    for (int x0 = 0, i = 1, x1 = boundary(1, step); x1 <= w; x1 = boundary(++i, step)) {
        if (x1 > x0) runs.emplace_back(x0, x1);
        x0 = x1;
    }
    std::vector<Sums> rowSums(runs.size()), bandSums(runs.size());
    for (int y0 = 0, j = 1, y1 = boundary(1, step); y1 <= h;
         y0 = y1, y1 = boundary(++j, step)) {
        if (y1 <= y0) continue;  // a band without rows still counts
        for (int y = y0; y < y1; ++y) {
            const uchar* row = picture.ConstScanLine(y);
            for (size_t n = 0; n < runs.size(); ++n) {
                Sums& acc = rowSums[n];
                for (const uchar* p = row + 3 * runs[n].first; p < row + 3 * runs[n].second;
                     p += 3) {
                    acc.b += p[0], acc.g += p[1], acc.r += p[2];
                }
                acc.count += runs[n].second - runs[n].first;
            }
            for (size_t n = 0; n < runs.size(); ++n) {
                Sums& band = bandSums[n];
                band.b += rowSums[n].b, band.g += rowSums[n].g, band.r += rowSums[n].r;
                band.count += rowSums[n].count;
                rowSums[n] = Sums();
            }
        }
        // Output row j - 1 lies at or above the band's first row, which is already read.
        uchar* out = picture.ScanLine(j - 1);
        for (size_t c = 0; c < runs.size(); ++c) {
            const Sums& band = bandSums[c];
            out[3 * c] = uchar(band.b / band.count);
            out[3 * c + 1] = uchar(band.g / band.count);
            out[3 * c + 2] = uchar(band.r / band.count);
            bandSums[c] = Sums();
        }
    }
    int outW = 0, outH = 0;
    averageReduceSize(w, h, tw, th, outW, outH);
    picture.CutTo(outW, outH);
}

}  // namespace tessaly
