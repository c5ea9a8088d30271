#pragma once

#include "core/imaging/pixels/pixelimage.h"

namespace tessaly {

// The chromaticities (CIE x, y) of a colour space's red, green and blue primaries and white.
struct Chromaticities {
    double red[2];
    double green[2];
    double blue[2];
    double white[2];
};

// Converts 24-bit pictures coded in another RGB colour space (Display P3, BT.2020 ...) to
// sRGB, for files that describe their colours only by primaries and a transfer curve: such a
// JPEG written unconverted would be shown as sRGB, duller than its source. Colours outside
// sRGB are clipped to its gamut; a white other than D65 is matched by scaling XYZ.
class SrgbConversion {
public:
    // How the source codes light: the sRGB curve (also used for BT.709's, which displays
    // show alike), linear, or a pure power of 2.2 or 2.8.
    enum class Curve { Srgb, Linear, Gamma22, Gamma28 };

    // sRGB's own chromaticities (BT.709 primaries, D65 white).
    static Chromaticities srgb();
    // True when these are sRGB's, within the precision files store them with.
    static bool isSrgb(const Chromaticities& space);

    // The picture's pixels (blue, green, red) re-expressed in sRGB.
    static void toSrgb(PixelImage& picture, const Chromaticities& space, Curve curve);
};

}  // namespace tessaly
