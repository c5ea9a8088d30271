#include <vector>

#include "core/imaging/pixels/pixelimage.h"

namespace tessaly {

namespace {

// The rotated image: height W, then width H, the source's pixel format and colour table.
PixelImage rotatedFrame(const PixelImage& source) {
    PixelImage target;
    target.setHeight(source.width());
    target.setWidth(source.height());
    target.setPixelFormat(source.pixelFormat());
    if (source.bitCount() != 24) {
        target.setColorCount(source.colorCount());
        for (int i = 0; i < source.colorCount(); ++i) target.setColor(i, source.color(i));
    }
    return target;
}

// Copies every source pixel (x, y) to the target position place(x, y).
template <typename Place>
void copyPixels(const PixelImage& source, PixelImage& target, Place place) {
    const int w = source.width();
    const int h = source.height();
    if (source.bitCount() == 24) {
        // Same result as pixel-by-pixel copying, through row addresses.
        std::vector<uchar*> rows(size_t(target.height()));
        for (int y = 0; y < target.height(); ++y) rows[size_t(y)] = target.scanLine(y);
        for (int y = 0; y < h; ++y) {
            const uchar* in = source.constScanLine(y);
            for (int x = 0; x < w; ++x) {
                int tx, ty;
                place(x, y, tx, ty);
                uchar* out = rows[size_t(ty)] + 3 * tx;
                out[0] = in[3 * x];
                out[1] = in[3 * x + 1];
                out[2] = in[3 * x + 2];
            }
        }
        return;
    }
    for (int x = 0; x < w; ++x) {
        for (int y = 0; y < h; ++y) {
            int tx, ty;
            place(x, y, tx, ty);
            target.setPixel(tx, ty, source.pixel(x, y));
        }
    }
}

}  // namespace

PixelImage rotatedRight(const PixelImage& source) {
    PixelImage target = rotatedFrame(source);
    const int h = source.height();
    copyPixels(source, target, [h](int x, int y, int& tx, int& ty) {
        tx = h - 1 - y;
        ty = x;
    });
    return target;
}

PixelImage rotatedLeft(const PixelImage& source) {
    PixelImage target = rotatedFrame(source);
    const int w = source.width();
    copyPixels(source, target, [w](int x, int y, int& tx, int& ty) {
        tx = y;
        ty = w - 1 - x;
    });
    return target;
}

}  // namespace tessaly
