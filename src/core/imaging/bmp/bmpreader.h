#pragma once

#include <QByteArray>

#include "core/imaging/pixels/pixelimage.h"

namespace tessaly {

class PixelStorage;

// Reads a BMP file's bytes into a pixel image: 12-byte OS/2 and 40/108/124-byte Windows
// headers; 1, 4, 8, 24 bits, 4- and 8-bit run-length data (decoded to plain rows), 16 and
// 32 bits (unpacked to 24 bits through the colour masks). Every size, offset, count and run
// is checked against the data before use; errors are BmpFormatError.
class BmpReader {
public:
    static PixelImage read(const QByteArray& data);

private:
    struct Header {
        int headerSize = 0;
        bool os2 = false;
        qint64 width = 0;
        qint64 height = 0;
        int bitCount = 0;
        quint32 compression = 0;
        quint32 colorsUsed = 0;
        quint32 masks[3] = {0, 0, 0};
        size_t offBits = 0;
        size_t tableStart = 0;  // first byte after the headers and masks
    };

    BmpReader(const uchar* data, size_t size) : data_(data), size_(size) {}
    Header readHeader() const;
    void readInfo(Header& h) const;
    void checkCombination(const Header& h) const;
    void readMasks(Header& h) const;
    int readColorTable(const Header& h, PixelStorage& dib) const;
    void readPlainRows(const Header& h, PixelStorage& dib) const;
    void readMaskedRows(const Header& h, PixelStorage& dib) const;
    quint32 u16(size_t offset) const;
    quint32 u32(size_t offset) const;
    void need(size_t end) const;

    const uchar* data_;
    size_t size_;
};

}  // namespace tessaly
