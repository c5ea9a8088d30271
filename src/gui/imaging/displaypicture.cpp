#include "gui/imaging/displaypicture.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "core/imaging/reader/photoreader.h"

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

QImage DisplayPicture::readReduced(const QString& path, int side) {
    const std::unique_ptr<PhotoReader> reader = openPhotoReader(path);
    int reduction = 1;
    while (reader->decodesReduced() && reduction < 8 &&
           std::min(reader->width(), reader->height()) / (reduction * 2) >= side) {
        reduction *= 2;
    }
    return toImage(reader->picture(reduction));
}

}  // namespace tessaly
