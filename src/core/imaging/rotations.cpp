#include <vector>

#include "core/imaging/pixelimage.h"

namespace tessaly {

namespace {

// The rotated image: height W, then width H, the source's pixel format and colour table.
PixelImage rotatedFrame(const PixelImage& source) {
    PixelImage target;
    target.SetHeight(source.Width());
    target.SetWidth(source.Height());
    target.setPixelFormat(source.pixelFormat());
    if (source.BitCount() != 24) {
        target.SetColorCount(source.ColorCount());
        for (int i = 0; i < source.ColorCount(); ++i) target.SetColors(i, source.Colors(i));
    }
    return target;
}

// Copies every source pixel (x, y) to the target position place(x, y).
template <typename Place>
void copyPixels(const PixelImage& source, PixelImage& target, Place place) {
    const int w = source.Width();
    const int h = source.Height();
    if (source.BitCount() == 24) {
        // Same result as pixel-by-pixel copying, through row addresses.
        std::vector<uchar*> rows(size_t(target.Height()));
        for (int y = 0; y < target.Height(); ++y) rows[size_t(y)] = target.ScanLine(y);
        for (int y = 0; y < h; ++y) {
            const uchar* in = source.ConstScanLine(y);
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
            target.SetPixels(tx, ty, source.Pixels(x, y));
        }
    }
}

}  // namespace

PixelImage RotateRight(const PixelImage& source) {
    PixelImage target = rotatedFrame(source);
    const int h = source.Height();
    copyPixels(source, target, [h](int x, int y, int& tx, int& ty) {
        tx = h - 1 - y;
        ty = x;
    });
    return target;
}

PixelImage RotateLeft(const PixelImage& source) {
    PixelImage target = rotatedFrame(source);
    const int w = source.Width();
    copyPixels(source, target, [w](int x, int y, int& tx, int& ty) {
        tx = y;
        ty = w - 1 - x;
    });
    return target;
}

}  // namespace tessaly
