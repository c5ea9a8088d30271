#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <memory>

#include "core/imaging/imageerrors.h"

namespace tessaly {

// Pixel formats in their stored order (values 0 to 5).
enum class PixelFormat { Indexed1 = 0, Indexed4, Rle4, Indexed8, Rle8, Bgr24 };

// Largest image any reader or storage accepts: 100 megapixels and 1 GiB of pixel rows.
inline constexpr qint64 kMaxImagePixels = 100'000'000;
inline constexpr qint64 kMaxImageBytes = qint64(1) << 30;

class PixelStorage;

// A device-independent pixel image: width, height (rows bottom-up or top-down), pixel format,
// colour table (blue, green, red, reserved) and rows padded to 4 bytes. Copies share the
// storage; every write or row address hand-out first makes the storage private
// (copy on write). A 24-bit pixel is stored as blue, green, red; a pixel value exchanged
// through Pixels is the colour 0x00BBGGRR for 24 bits, the raw index (or bit) otherwise.
class PixelImage {
public:
    // A new image: 1 x 1, 8 bits, colour count 2, every byte zero.
    PixelImage();
    // A zeroed image of the given size and format (a negative height means top-down rows).
    // A 1-, 4- or 8-bit image gets the full colour count (2, 16, 256) of zero entries.
    PixelImage(int width, int height, PixelFormat format);
    // An image of that size and format whose pixel bytes are not zeroed (the row padding is):
    // for a picture whose every row is written right after, such as a decode target.
    static PixelImage unfilled(int width, int height, PixelFormat format);
    PixelImage(const PixelImage& other);
    PixelImage& operator=(const PixelImage& other);
    PixelImage(PixelImage&& other) noexcept;
    PixelImage& operator=(PixelImage&& other) noexcept;
    ~PixelImage();

    int width() const;
    int height() const;    // number of rows (always positive)
    bool topDown() const;  // rows stored top row first
    int bitCount() const;  // 1, 4, 8 or 24
    int stride() const;    // bytes per stored row, a multiple of 4
    // A new zeroed storage of that width (or height; negative = top-down rows) with the same
    // bit count and colour count; an unchanged value does nothing.
    void setWidth(int width);
    void setHeight(int height);

    PixelFormat pixelFormat() const;
    // Converts the pixels: increases keep the colours exactly; 24 -> 8/4 bits builds a
    // uniform colour cube (6x7x6 / 16 fixed colours) and maps each pixel to its nearest entry.
    void setPixelFormat(PixelFormat format);

    // Pixel at column x, row y (y counted from the top).
    quint32 pixel(int x, int y) const;
    void setPixel(int x, int y, quint32 value);

    // Address of row y (counted from the top); makes the storage private first.
    uchar* scanLine(int y);
    // Read-only row address; never copies the storage. Same checks as ScanLine.
    const uchar* constScanLine(int y) const;

    // Colour table: count of entries in use and entries as 0x00BBGGRR colour values.
    int colorCount() const;
    quint32 color(int index) const;
    void setColor(int index, quint32 color);
    void setColorCount(int count);  // 0..256; new entries are zero

    // Keeps the top-left width x height corner (both at most the current size, at least 1).
    void cutTo(int width, int height);

    // Reads a BMP file (or its bytes). The old content is dropped first.
    // Throws IoError when the file cannot be opened, BmpFormatError and the other image errors for
    // bad content.
    void loadFromFile(const QString& path);
    void loadFromData(const QByteArray& data);

    // True when both images use the same storage (for tests of the sharing).
    bool sharesStorageWith(const PixelImage& other) const;

private:
    explicit PixelImage(std::shared_ptr<PixelStorage> storage);
    void makePrivate();
    void checkRow(int y, const char* rangeMessage, const char* typeMessage) const;

    std::shared_ptr<PixelStorage> storage_;
    friend class PixelStorage;
    friend class BmpReader;
};

// 90 degrees clockwise: the target pixel (H - 1 - y, x) takes the source pixel (x, y).
PixelImage rotatedRight(const PixelImage& source);
// 90 degrees counter-clockwise: the target pixel (y, W - 1 - x) takes the source pixel (x, y).
PixelImage rotatedLeft(const PixelImage& source);

}  // namespace tessaly
