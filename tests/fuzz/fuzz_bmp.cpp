// BMP reader: any bytes must load or raise an error, never read or write out of bounds.
#include <cstddef>
#include <cstdint>

#include "core/imaging/pixels/pixelimage.h"
#include "core/text/errors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tessaly::PixelImage dib;
    try {
        dib.loadFromData(
            QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
        if (dib.width() > 0 && dib.height() > 0 && dib.width() * dib.height() < 1000000) {
            dib.setPixelFormat(tessaly::PixelFormat::Bgr24);
            tessaly::PixelImage turned = tessaly::rotatedRight(dib);
        }
    } catch (const tessaly::Error&) {
    }
    return 0;
}
