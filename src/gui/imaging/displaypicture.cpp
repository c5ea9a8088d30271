#include "gui/imaging/displaypicture.h"

#include <cstring>

namespace tessaly {

QImage DisplayPicture::toImage(const PixelImage& picture) {
    PixelImage wide(picture);
    if (wide.pixelFormat() != PixelFormat::Bgr24) wide.setPixelFormat(PixelFormat::Bgr24);
    QImage image(wide.width(), wide.height(), QImage::Format_BGR888);
    if (image.isNull()) return image;
    const size_t rowBytes = size_t(wide.width()) * 3;
    for (int y = 0; y < wide.height(); ++y) {
        // Both store a pixel as blue, green, red bytes.
        std::memcpy(image.scanLine(y), wide.constScanLine(y), rowBytes);
    }
    return image;
}

}  // namespace tessaly
