#pragma once

#include <memory>

#include "core/imaging/pixels/pixelimage.h"

namespace tessaly {

class PixelStorage;

// Converts a pixel storage to another pixel format. Increases keep the colours exactly
// (palette indices, or the colour-table colours when going to 24 bits); reductions map each
// pixel to the nearest colour of a fixed table (8 bits: a 6 x 7 x 6 colour cube, 4 bits:
// the 16 standard VGA colours, 1 bit: black and white). Run-length formats are decoded
// before and encoded after the conversion.
class PixelFormatConverter {
public:
    static std::shared_ptr<PixelStorage> convert(const PixelStorage& source, PixelFormat format);
    static std::shared_ptr<PixelStorage> decompress(const PixelStorage& source);

private:
    static std::shared_ptr<PixelStorage> toTrueColor(const PixelStorage& source);
    static std::shared_ptr<PixelStorage> widen(const PixelStorage& source, int bitCount);
    static std::shared_ptr<PixelStorage> reduce(const PixelStorage& source, int bitCount);
    static std::shared_ptr<PixelStorage> compress(const PixelStorage& source);
};

}  // namespace tessaly
