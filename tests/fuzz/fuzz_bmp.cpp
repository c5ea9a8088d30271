// BMP reader: any bytes must load or raise an error, never read or write out of bounds.
#include <cstddef>
#include <cstdint>

#include "core/imaging/pixelimage.h"
#include "core/text/errors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tessaly::PixelImage dib;
    try {
        dib.LoadFromData(
            QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
        if (dib.Width() > 0 && dib.Height() > 0 && dib.Width() * dib.Height() < 1000000) {
            dib.setPixelFormat(tessaly::PixelFormat::Bgr24);
            tessaly::PixelImage turned = tessaly::RotateRight(dib);
        }
    } catch (const tessaly::Error&) {
    }
    return 0;
}
