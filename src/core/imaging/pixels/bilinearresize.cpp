#include "core/imaging/pixels/bilinearresize.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace tessaly {

namespace {

// For every target index: the first source index and the weight (0..256) of the next one.
void taps(int from, int to, std::vector<int>& first, std::vector<int>& weight) {
    first.resize(size_t(to));
    weight.resize(size_t(to));
    const double step = double(from) / to;
    for (int i = 0; i < to; ++i) {
        const double at = std::clamp((i + 0.5) * step - 0.5, 0.0, double(from - 1));
        const int base = std::min(int(at), from - 1);
        first[size_t(i)] = base;
        weight[size_t(i)] = base + 1 < from ? int(std::lround((at - base) * 256)) : 0;
    }
}

}  // namespace

PixelImage bilinearResize(const PixelImage& source, int tw, int th) {
    PixelImage rows = source;
    if (rows.pixelFormat() != PixelFormat::Bgr24) rows.setPixelFormat(PixelFormat::Bgr24);
    const int sw = rows.width(), sh = rows.height();
    PixelImage out = PixelImage::unfilled(tw, th, PixelFormat::Bgr24);
    std::vector<int> x0, fx, y0, fy;
    taps(sw, tw, x0, fx);
    taps(sh, th, y0, fy);
    for (int y = 0; y < th; ++y) {
        const uchar* top = rows.constScanLine(y0[size_t(y)]);
        const uchar* bottom = rows.constScanLine(std::min(y0[size_t(y)] + 1, sh - 1));
        const int wy = fy[size_t(y)];
        uchar* target = out.scanLine(y);
        for (int x = 0; x < tw; ++x) {
            const int left = 3 * x0[size_t(x)];
            const int right = x0[size_t(x)] + 1 < sw ? left + 3 : left;
            const int wx = fx[size_t(x)];
            for (int c = 0; c < 3; ++c) {
                const int upper = top[left + c] * (256 - wx) + top[right + c] * wx;
                const int lower = bottom[left + c] * (256 - wx) + bottom[right + c] * wx;
                target[3 * x + c] = uchar((upper * (256 - wy) + lower * wy + 32768) >> 16);
            }
        }
    }
    return out;
}

}  // namespace tessaly
