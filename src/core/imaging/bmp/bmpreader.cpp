#include "core/imaging/bmp/bmpreader.h"

#include <cstring>

#include "core/imaging/bmp/rlecodec.h"
#include "core/imaging/pixels/pixelstorage.h"

namespace tessaly {

namespace {

enum : quint32 { kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitFields = 3, kBiAlphaBitFields = 6 };

// Info header sizes read: OS/2 1.x, Windows 3 (40), the 52- and 56-byte forms that add the
// RGB and RGBA masks to it, and the 108- and 124-byte forms with colour space data.
bool knownInfoSize(int size) {
    return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

[[noreturn]] void refuse(const char* message) {
    throw BmpFormatError(QString::fromLatin1(message));
}

// One colour channel of a masked 16- or 32-bit pixel, scaled to 0..255.
struct Channel {
    int shift = 0;
    quint32 mask = 0;
    quint32 max = 1;

    explicit Channel(quint32 m) : mask(m) {
        while (((m >> shift) & 1) == 0) ++shift;
        max = m >> shift;
    }
    uchar value(quint32 pixel) const {
        const quint64 v = (pixel & mask) >> shift;
        return uchar((v * 255 + max / 2) / max);
    }
};

}  // namespace

quint32 BmpReader::u16(size_t offset) const {
    need(offset + 2);
    return quint32(data_[offset]) | (quint32(data_[offset + 1]) << 8);
}

quint32 BmpReader::u32(size_t offset) const {
    need(offset + 4);
    return u16(offset) | (u16(offset + 2) << 16);
}

void BmpReader::need(size_t end) const {
    if (end > size_) refuse(imagemsg::kTruncated);
}

PixelImage BmpReader::read(const QByteArray& data) {
    const BmpReader reader(reinterpret_cast<const uchar*>(data.constData()), size_t(data.size()));
    const Header h = reader.readHeader();
    const int outBits = h.bitCount > 8 ? 24 : h.bitCount;
    auto dib = PixelStorage::create(int(h.width), int(h.height), outBits,
                                    outBits == 24 ? 0 : 1 << outBits);
    dib->setColorCount(reader.readColorTable(h, *dib));
    if (h.compression == kBiRle8 || h.compression == kBiRle4) {
        rle::decode(reader.data_ + h.offBits, reader.size_ - h.offBits, h.bitCount, int(h.width),
                    dib->rows(), dib->bits(), dib->stride());
    } else if (h.bitCount == 16 || h.bitCount == 32) {
        reader.readMaskedRows(h, *dib);
    } else {
        reader.readPlainRows(h, *dib);
    }
    return PixelImage(dib);
}

BmpReader::Header BmpReader::readHeader() const {
    if (size_ < 2 || data_[0] != 'B' || data_[1] != 'M') refuse(imagemsg::kFileType);
    Header h;
    h.offBits = u32(10);
    h.headerSize = int(u32(14));
    readInfo(h);
    if (h.width < 1 || h.height == 0) refuse(imagemsg::kWidthHeight);
    checkCombination(h);
    const qint64 rows = h.height < 0 ? -h.height : h.height;
    if (!PixelStorage::fitsLimits(h.width, rows, h.bitCount > 8 ? 24 : h.bitCount)) {
        refuse(imagemsg::kTooLarge);
    }
    h.tableStart = 14 + size_t(h.headerSize);
    readMasks(h);
    if (h.offBits < h.tableStart || h.offBits > size_) refuse(imagemsg::kTruncated);
    return h;
}

void BmpReader::readInfo(Header& h) const {
    if (h.headerSize == 12) {
        need(26);
        h.os2 = true;
        h.width = u16(18);
        h.height = u16(20);
        h.bitCount = int(u16(24));
        const int b = h.bitCount;
        if (b != 1 && b != 4 && b != 8 && b != 24) refuse(imagemsg::kBitCountOs2);
        return;
    }
    if (!knownInfoSize(h.headerSize)) refuse(imagemsg::kHeaderSize);
    need(14 + size_t(h.headerSize));
    h.width = qint32(u32(18));
    h.height = qint32(u32(22));
    h.bitCount = int(u16(28));
    h.compression = u32(30);
    h.colorsUsed = u32(46);
    const int b = h.bitCount;
    if (b != 1 && b != 4 && b != 8 && b != 16 && b != 24 && b != 32) {
        refuse(imagemsg::kBitCoutWindows);
    }
}

void BmpReader::checkCombination(const Header& h) const {
    bool ok = false;
    switch (h.compression) {
        case kBiRgb:
            ok = true;
            break;
        case kBiRle8:
            ok = h.bitCount == 8 && h.height > 0;
            break;
        case kBiRle4:
            ok = h.bitCount == 4 && h.height > 0;
            break;
        case kBiBitFields:
        case kBiAlphaBitFields:
            ok = h.bitCount == 16 || h.bitCount == 32;
            break;
        default:
            break;
    }
    if (!ok) refuse(imagemsg::kBiBitCount);
}

void BmpReader::readMasks(Header& h) const {
    if (h.bitCount != 16 && h.bitCount != 32) return;
    if (h.compression == kBiBitFields || h.compression == kBiAlphaBitFields) {
        // A 40-byte header is followed by the red, green and blue masks (and the alpha mask
        // with BI_ALPHABITFIELDS); longer headers hold them. Alpha is not used, as the
        // reserved byte of 32-bit pixels is not.
        const size_t at = h.headerSize == 40 ? h.tableStart : 14 + 40;
        for (int i = 0; i < 3; ++i) h.masks[i] = u32(at + 4 * size_t(i));
        if (h.headerSize == 40) h.tableStart += h.compression == kBiAlphaBitFields ? 16 : 12;
    } else if (h.bitCount == 16) {
        h.masks[0] = 0x7C00, h.masks[1] = 0x03E0, h.masks[2] = 0x001F;
    } else {
        h.masks[0] = 0xFF0000, h.masks[1] = 0xFF00, h.masks[2] = 0xFF;
    }
    if (!h.masks[0] || !h.masks[1] || !h.masks[2]) refuse(imagemsg::kMasks);
}

// Reads the colour table into the storage; returns the count of entries in use.
int BmpReader::readColorTable(const Header& h, PixelStorage& dib) const {
    if (h.bitCount > 8) return 0;
    const size_t entry = h.os2 ? 3 : 4;
    quint64 count = (h.os2 || h.colorsUsed == 0) ? (1u << h.bitCount) : h.colorsUsed;
    // Entries beyond 256, or reaching into the pixel data, are not used.
    count = qMin<quint64>(count, 256);
    count = qMin<quint64>(count, (h.offBits - h.tableStart) / entry);
    need(h.tableStart + size_t(count) * entry);
    uchar* table = dib.colorTable();
    for (size_t i = 0; i < count; ++i) {
        std::memcpy(table + 4 * i, data_ + h.tableStart + i * entry, 3);
        table[4 * i + 3] = 0;
    }
    return int(count);
}

void BmpReader::readPlainRows(const Header& h, PixelStorage& dib) const {
    const size_t bytes = size_t(dib.stride()) * size_t(dib.rows());
    need(h.offBits + bytes);
    std::memcpy(dib.bits(), data_ + h.offBits, bytes);
}

void BmpReader::readMaskedRows(const Header& h, PixelStorage& dib) const {
    const int inBytes = h.bitCount / 8;
    const size_t inStride = size_t(PixelStorage::strideFor(int(h.width), h.bitCount));
    need(h.offBits + inStride * size_t(dib.rows()));
    const Channel red(h.masks[0]), green(h.masks[1]), blue(h.masks[2]);
    for (int r = 0; r < dib.rows(); ++r) {  // stored order in both
        const uchar* in = data_ + h.offBits + inStride * size_t(r);
        uchar* out = dib.bits() + size_t(dib.stride()) * size_t(r);
        for (int x = 0; x < int(h.width); ++x, in += inBytes, out += 3) {
            quint32 pixel = quint32(in[0]) | (quint32(in[1]) << 8);
            if (inBytes == 4) pixel |= (quint32(in[2]) << 16) | (quint32(in[3]) << 24);
            out[0] = blue.value(pixel);
            out[1] = green.value(pixel);
            out[2] = red.value(pixel);
        }
    }
}

}  // namespace tessaly
