#include <algorithm>
#include <cmath>
#include <vector>

#include "core/imaging/real48.h"
#include "core/imaging/thumbnailfilters.h"

namespace tessaly {

namespace {

// Sums of one output column over a band: blue, green, red. 64 bits, so that even a
// reduction of the largest accepted image cannot overflow them.
struct Sums {
    qint64 b = 0, g = 0, r = 0;
};

using Runs = std::vector<std::pair<int, int>>;  // (x0, x1) of every output column

// Rows summed into the 32-bit column accumulators before they are moved on: 255 times this
// still fits in 32 bits.
constexpr int kRowsPerFlush = 16'000'000;

int boundary(int index, long double step) { return int(std::trunc(index * step)); }

// Moves the per-byte column sums into the band sums of each run and clears them.
void flushColumns(std::vector<quint32>& columns, const Runs& runs, std::vector<Sums>& band) {
    for (size_t n = 0; n < runs.size(); ++n) {
        Sums& acc = band[n];
        for (int x = runs[n].first; x < runs[n].second; ++x) {
            acc.b += columns[3 * size_t(x)];
            acc.g += columns[3 * size_t(x) + 1];
            acc.r += columns[3 * size_t(x) + 2];
        }
    }
    std::fill(columns.begin(), columns.end(), 0u);
}

// Sums the band's rows y0..y1-1 into band (one entry per run).
void sumBand(const TNkDIB& picture, int y0, int y1, const Runs& runs, std::vector<quint32>& columns,
             std::vector<Sums>& band) {
    int pending = 0;
    for (int y = y0; y < y1; ++y) {
        const uchar* row = picture.ConstScanLine(y);
        quint32* sums = columns.data();
        const size_t bytes = columns.size();
        for (size_t i = 0; i < bytes; ++i) sums[i] += row[i];
        if (++pending == kRowsPerFlush) {
            flushColumns(columns, runs, band);
            pending = 0;
        }
    }
    flushColumns(columns, runs, band);
}

}  // namespace

long double averageReduceScale(int w, int h, int tw, int th) {
    const long double ratioH = static_cast<long double>(h) / th;
    const long double ratioW = static_cast<long double>(w) / tw;
    const long double s =
        ratioH >= ratioW ? static_cast<long double>(th) / h : static_cast<long double>(tw) / w;
    return roundToReal48(s);
}

void averageReduceSize(int w, int h, int tw, int th, int& outW, int& outH) {
    const long double s = averageReduceScale(w, h, tw, th);
    outW = int(std::trunc(s * w));
    outH = int(std::trunc(s * h));
}

// Every output pixel is the truncated mean of its block: the same sums as adding each row's
// run into a row accumulator and the rows into a band accumulator, gathered here column by
// column so that the inner loop runs over plain bytes.
void AverageReduce(TNkDIB& picture, int w, int h, int tw, int th) {
    if (picture.PixelFormat() != nk24Bit) picture.SetPixelFormat(nk24Bit);
    const long double step = 1.0L / averageReduceScale(w, h, tw, th);
    Runs runs;
    for (int x0 = 0, i = 1, x1 = boundary(1, step); x1 <= w; x1 = boundary(++i, step)) {
        if (x1 > x0) runs.emplace_back(x0, x1);  // a run without columns is skipped
        x0 = x1;
    }
    std::vector<quint32> columns(runs.empty() ? 0 : 3 * size_t(runs.back().second));
    std::vector<Sums> band(runs.size());
    for (int y0 = 0, j = 1, y1 = boundary(1, step); y1 <= h; y0 = y1, y1 = boundary(++j, step)) {
        if (y1 <= y0) continue;  // a band without rows still counts
        sumBand(picture, y0, y1, runs, columns, band);
        // Output row j - 1 lies at or above the band's first row, which is already read,
        // and output column c never lies right of its run's first column.
        uchar* out = picture.ScanLine(j - 1);
        for (size_t c = 0; c < runs.size(); ++c) {
            const qint64 count = qint64(runs[c].second - runs[c].first) * (y1 - y0);
            out[3 * c] = uchar(band[c].b / count);
            out[3 * c + 1] = uchar(band[c].g / count);
            out[3 * c + 2] = uchar(band[c].r / count);
            band[c] = Sums();
        }
    }
    int outW = 0, outH = 0;
    averageReduceSize(w, h, tw, th, outW, outH);
    picture.CutTo(outW, outH);
}

}  // namespace tessaly
