#include "gui/main/dibimage.h"

#include "core/imaging/tnkdib.h"

namespace tessaly {

QImage DibImage::toImage(const TNkDIB& picture) {
    const int width = picture.Width();
    const int height = picture.Height();
    QImage image(width, height, QImage::Format_RGB888);
    if (image.isNull()) return image;
    const bool direct = picture.BitCount() == 24;
    for (int y = 0; y < height; ++y) {
        uchar* out = image.scanLine(y);
        if (direct) {
            const uchar* in = picture.ConstScanLine(y);
            for (int x = 0; x < width; ++x, in += 3, out += 3) {
                out[0] = in[2];
                out[1] = in[1];
                out[2] = in[0];
            }
            continue;
        }
        for (int x = 0; x < width; ++x, out += 3) {
            const quint32 index = picture.Pixels(x, y);
            const quint32 colour =
                static_cast<int>(index) < picture.ColorCount() ? picture.Colors(index) : 0;
            out[0] = colour & 0xFF;
            out[1] = (colour >> 8) & 0xFF;
            out[2] = (colour >> 16) & 0xFF;
        }
    }
    return image;
}

}  // namespace tessaly
