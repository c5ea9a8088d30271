#include <cstring>
#include <vector>

#include "core/imaging/pixels/thumbnailfilters.h"

namespace tessaly {

int stretchSample(int i, int n, int m) { return int((2 * qint64(i) + 1) * n / (2 * qint64(m))); }

PixelImage stretchNearest(const PixelImage& source, int tw, int th) {
    PixelImage from = source;
    if (from.pixelFormat() != PixelFormat::Bgr24 && from.pixelFormat() != PixelFormat::Indexed8) {
        from.setPixelFormat(PixelFormat::Bgr24);
    }
    const int bytes = from.bitCount() / 8;
    PixelImage target(tw, th, from.pixelFormat());
    if (bytes == 1) {
        target.setColorCount(from.colorCount());
        for (int i = 0; i < from.colorCount(); ++i) target.setColor(i, from.color(i));
    }
    std::vector<int> columns(static_cast<size_t>(tw));
    for (int x = 0; x < tw; ++x) columns[size_t(x)] = stretchSample(x, from.width(), tw);
    for (int y = 0; y < th; ++y) {
        const uchar* in = from.constScanLine(stretchSample(y, from.height(), th));
        uchar* out = target.scanLine(y);
        for (int x = 0; x < tw; ++x) {
            std::memcpy(out + bytes * x, in + bytes * columns[size_t(x)], size_t(bytes));
        }
    }
    return target;
}

}  // namespace tessaly
