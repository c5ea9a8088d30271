#include "core/imaging/metadata/orientation.h"

#include <cstring>
#include <vector>

namespace tessaly {

void orientedSource(int orientation, int dx, int dy, int w, int h, int& sx, int& sy) {
    switch (orientation) {
        case 2:
            sx = w - 1 - dx, sy = dy;
            break;
        case 3:
            sx = w - 1 - dx, sy = h - 1 - dy;
            break;
        case 4:
            sx = dx, sy = h - 1 - dy;
            break;
        case 5:
            sx = dy, sy = dx;
            break;
        case 6:
            sx = dy, sy = h - 1 - dx;
            break;
        case 7:
            sx = w - 1 - dy, sy = h - 1 - dx;
            break;
        case 8:
            sx = w - 1 - dy, sy = dx;
            break;
        default:
            sx = dx, sy = dy;
            break;
    }
}

PixelImage applyOrientation(const PixelImage& picture, int orientation) {
    if (orientation < 2 || orientation > 8) return picture;
    PixelImage source = picture;
    if (source.pixelFormat() != PixelFormat::Bgr24 &&
        source.pixelFormat() != PixelFormat::Indexed8) {
        source.setPixelFormat(PixelFormat::Bgr24);
    }
    const int w = source.width(), h = source.height();
    const bool swapped = orientation >= 5;
    PixelImage target =
        PixelImage::unfilled(swapped ? h : w, swapped ? w : h, source.pixelFormat());
    const int bytes = source.bitCount() / 8;
    if (bytes == 1) {
        target.setColorCount(source.colorCount());
        for (int i = 0; i < source.colorCount(); ++i) target.setColor(i, source.color(i));
    }
    std::vector<const uchar*> rows(static_cast<size_t>(h));
    for (int y = 0; y < h; ++y) rows[size_t(y)] = source.constScanLine(y);
    for (int dy = 0; dy < target.height(); ++dy) {
        uchar* out = target.scanLine(dy);
        for (int dx = 0; dx < target.width(); ++dx) {
            int sx = 0, sy = 0;
            orientedSource(orientation, dx, dy, w, h, sx, sy);
            std::memcpy(out + bytes * dx, rows[size_t(sy)] + bytes * sx, size_t(bytes));
        }
    }
    return target;
}

}  // namespace tessaly
