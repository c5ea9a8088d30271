#pragma once

#include <QByteArray>

namespace tessaly::test {

// How makeTestPng builds its file. Every pixel is `colour` (0x00BBGGRR), except that with
// `split` the right half is `other`.
struct PngOptions {
    enum class Kind { Rgb, RgbAlpha, Grey, GreyAlpha, Palette };
    Kind kind = Kind::Rgb;
    int bitDepth = 8;  // 1, 2, 4 (grey, palette), 8 or 16 (not palette)
    bool interlaced = false;
    unsigned colour = 0x003264C8;
    unsigned other = 0x00FF0000;
    bool split = false;
    int alpha = 255;           // of every pixel, RgbAlpha and GreyAlpha
    bool transparent = false;  // a tRNS chunk: the palette's first entry fully transparent
    unsigned grey16 = 0;       // a 16-bit grey or colour sample; 0: from colour
    QByteArray exif;           // TIFF data for an eXIf chunk (no "Exif\0\0")
    QByteArray iccProfile;     // for an iCCP chunk
    QByteArray xmp;            // an XMP packet for an iTXt chunk "XML:com.adobe.xmp"
    // The colour 0x00BBGGRR at (x, y) in place of colour (Rgb, RgbAlpha, Grey only).
    unsigned (*pattern)(int x, int y, int width, int height) = nullptr;
};
QByteArray makeTestPng(int width, int height, const PngOptions& options = PngOptions());

// How makeTestWebp builds its file: every pixel `colour` with `alpha`.
struct WebpOptions {
    bool lossless = false;
    unsigned colour = 0x003264C8;
    int alpha = 255;
    bool animated = false;  // two frames: colour, then `other`
    unsigned other = 0x00FF0000;
    QByteArray exif;        // an EXIF chunk's content
    QByteArray iccProfile;  // an ICCP chunk's content
    QByteArray xmp;         // an "XMP " chunk's content
    // The colour 0x00BBGGRR at (x, y) in place of colour (stills only).
    unsigned (*pattern)(int x, int y, int width, int height) = nullptr;
};
QByteArray makeTestWebp(int width, int height, const WebpOptions& options = WebpOptions());

}  // namespace tessaly::test
