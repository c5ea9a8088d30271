#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <utility>
#include <vector>

namespace tessaly::test {

// Writes a baseline JPEG of the given size with a smooth photo-like pattern (colour, 4:2:0,
// or one grey component). Throws std::runtime_error when the file cannot be written.
void writeTestJpeg(const QString& path, int width, int height, bool grey = false, int quality = 90);

// The JPEG bytes of the same pattern.
QByteArray makeTestJpeg(int width, int height, bool grey = false, int quality = 90);

// The colour (0x00BBGGRR) the test pattern has at (x, y) before compression.
unsigned testPatternColor(int x, int y, int width, int height);

// How makePhotoJpeg encodes its picture.
struct JpegLayout {
    int components = 3;        // 1: greyscale, 3: colour, 4: CMYK (Adobe, inverted)
    int h[4] = {2, 1, 1, 1};   // horizontal sampling factor of each component
    int v[4] = {2, 1, 1, 1};   // vertical sampling factor of each component
    bool rgb = false;          // colour stored as RGB, not YCbCr
    bool progressive = false;  // libjpeg's standard progressive scan script
    bool arithmetic = false;   // arithmetic instead of Huffman coding
    int restartRows = 0;       // restart interval in MCU rows; 0: none
    int orientation = 0;       // EXIF Orientation tag in an APP1 segment; 0: no EXIF data
    bool adobeMarker = true;   // CMYK only: libjpeg's Adobe segment (stored values inverted)
    int quality = 90;
    int noise = 0;            // each channel jitters by up to this much
    unsigned jitterSeed = 1;  // of the jitter
    // APPn and COM segments (marker, payload) written after the layout's own, in order.
    std::vector<std::pair<int, QByteArray>> segments;
};

// What a camera or editor writes, for a photograph stored w x h with the EXIF orientation:
// EXIF (built with libexif, big-endian: Make, DateTimeOriginal, PixelXDimension w,
// PixelYDimension h, Orientation, and an IFD1 thumbnail), XMP with a title, IPTC credit in a
// Photoshop APP13, an RGB ICC profile long enough for two APP2 chunks, and a comment.
std::vector<std::pair<int, QByteArray>> cameraSegments(int w, int h, int orientation);

// cameraSegments of a camera that tells more: EXIF (libexif, Intel order) also with Model,
// Artist, Copyright, ExposureTime, LensModel, a GPS position, BodySerialNumber,
// LensSerialNumber, CameraOwnerName and a maker note; XMP with a position, a serial number, a
// city and country, an owner name, a title and rights; IPTC with a city (2:90), keywords and
// credit, and a Photoshop thumbnail resource.
std::vector<std::pair<int, QByteArray>> privateCameraSegments(int w, int h, int orientation);

// An ICC profile of the colour space ("RGB ", "GRAY"), bytes long, its description `name`.
QByteArray iccProfile(const QByteArray& space, int bytes, const QByteArray& name = "Test");

// A photo-like picture (gradients, a disc, soft squares, jitter) encoded as the layout says.
QByteArray makePhotoJpeg(int width, int height, const JpegLayout& layout);

// Encodes the rows (layout.components bytes a pixel: grey, RGB or CMYK) as the layout says,
// with the given APP1 segments after the layout's own.
QByteArray encodeJpeg(const std::vector<unsigned char>& pixels, int width, int height,
                      const JpegLayout& layout, const std::vector<QByteArray>& app1Segments = {});

// An APP1 payload ("Exif\0\0", Intel TIFF header, IFD0) with one SHORT Orientation entry.
QByteArray exifOrientationPayload(int value);

// One entry of a hand-made TIFF directory: tag, type (3 SHORT, 4 LONG, 2 ASCII), count and
// value bytes in little-endian order, held in the entry when at most four bytes long.
struct TiffEntry {
    int tag;
    int type;
    quint32 count;
    QByteArray value;
};
TiffEntry shortEntry(int tag, quint32 value, quint32 count = 1);
TiffEntry longEntry(int tag, quint32 value);
TiffEntry textEntry(int tag, const QByteArray& text);  // with its terminating zero

// An APP1 payload ("Exif\0\0", Intel TIFF) with the IFD0 entries in the order given (one tag
// may stand twice, as no library writes it) and, when exif is not empty, an EXIF IFD that
// IFD0's last entry points to; exifPointer, when not 0, is written in place of its offset.
QByteArray handMadeExif(const std::vector<TiffEntry>& ifd0, const std::vector<TiffEntry>& exif = {},
                        quint32 exifPointer = 0);

// A bottom-up 24-bit BMP file (40-byte header) holding the test pattern.
QByteArray makeTestBmp24(int w, int h);

}  // namespace tessaly::test
