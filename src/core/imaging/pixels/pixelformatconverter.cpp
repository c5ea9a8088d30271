#include "core/imaging/pixels/pixelformatconverter.h"

#include <cstring>
#include <vector>

#include "core/imaging/bmp/rlecodec.h"
#include "core/imaging/pixels/pixelstorage.h"

namespace tessaly {

namespace {

int bitCountOf(PixelFormat format) {
    if (format == PixelFormat::Indexed1) return 1;
    if (format == PixelFormat::Indexed4 || format == PixelFormat::Rle4) return 4;
    if (format == PixelFormat::Indexed8 || format == PixelFormat::Rle8) return 8;
    return 24;
}

int indexAt(const uchar* row, int x, int bitCount) {
    if (bitCount == 8) return row[x];
    if (bitCount == 4) return x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 0x0F;
    return (row[x / 8] >> (7 - x % 8)) & 1;
}

void putIndex(uchar* row, int x, int bitCount, int index) {
    if (bitCount == 8) {
        row[x] = uchar(index);
    } else if (bitCount == 4) {
        row[x / 2] |= uchar(x % 2 == 0 ? index << 4 : index);
    } else if (index) {
        row[x / 8] |= uchar(0x80 >> (x % 8));
    }
}

quint32 colorAt(const PixelStorage& dib, const uchar* row, int x) {
    if (dib.bitCount() == 24) {
        const uchar* p = row + 3 * x;
        return quint32(p[2]) | (quint32(p[1]) << 8) | (quint32(p[0]) << 16);
    }
    return dib.color(indexAt(row, x, dib.bitCount()));
}

const quint32 kVga[16] = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080,
                          0x808000, 0xC0C0C0, 0x808080, 0x0000FF, 0x00FF00, 0x00FFFF,
                          0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};

int nearest(const std::vector<quint32>& table, quint32 color) {
    int best = 0;
    long bestDistance = -1;
    for (size_t i = 0; i < table.size(); ++i) {
        long d = 0;
        for (int shift = 0; shift < 24; shift += 8) {
            const long a = long((color >> shift) & 0xFF) - long((table[i] >> shift) & 0xFF);
            d += a * a;
        }
        if (bestDistance < 0 || d < bestDistance) {
            bestDistance = d;
            best = int(i);
        }
    }
    return best;
}

std::vector<quint32> reducedTable(int bitCount) {
    std::vector<quint32> table;
    if (bitCount == 1) {
        table = {0x000000, 0xFFFFFF};
    } else if (bitCount == 4) {
        table.assign(kVga, kVga + 16);
    } else {
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 7; ++g)
                for (int b = 0; b < 6; ++b)
                    table.push_back(quint32(r * 51) | (quint32((g * 255 + 3) / 6) << 8) |
                                    (quint32(b * 51) << 16));
    }
    return table;
}

int cubeIndex(quint32 color) {
    const int r = int(color & 0xFF), g = int((color >> 8) & 0xFF), b = int(color >> 16);
    return (((r * 5 + 127) / 255) * 7 + (g * 6 + 127) / 255) * 6 + (b * 5 + 127) / 255;
}

}  // namespace

std::shared_ptr<PixelStorage> PixelFormatConverter::convert(const PixelStorage& source,
                                                            PixelFormat format) {
    std::shared_ptr<PixelStorage> plain;
    if (source.compression() != PixelStorage::kNone) {
        plain = decompress(source);
    }
    const PixelStorage& from = plain ? *plain : source;
    const int bits = bitCountOf(format);
    std::shared_ptr<PixelStorage> result;
    if (bits == from.bitCount()) {
        result = plain ? plain : from.clone();
    } else if (bits == 24) {
        result = toTrueColor(from);
    } else if (bits > from.bitCount()) {
        result = widen(from, bits);
    } else {
        result = reduce(from, bits);
    }
    if (format == PixelFormat::Rle4 || format == PixelFormat::Rle8) {
        result = compress(*result);
    }
    return result;
}

std::shared_ptr<PixelStorage> PixelFormatConverter::decompress(const PixelStorage& source) {
    auto plain = PixelStorage::create(source.width(), source.height(), source.bitCount(),
                                      source.colorCount());
    std::memcpy(plain->colorTable(), source.colorTable(), 1024);
    rle::decode(source.bits(), source.byteSize(), source.bitCount(), source.width(), source.rows(),
                plain->bits(), plain->stride());
    return plain;
}

std::shared_ptr<PixelStorage> PixelFormatConverter::compress(const PixelStorage& source) {
    const std::vector<uchar> stream = rle::encode(source.bits(), source.stride(), source.width(),
                                                  source.rows(), source.bitCount());
    auto packed =
        PixelStorage::createCompressed(source.width(), source.height(), source.bitCount(), stream);
    std::memcpy(packed->colorTable(), source.colorTable(), 1024);
    packed->setColorCount(source.colorCount());
    return packed;
}

std::shared_ptr<PixelStorage> PixelFormatConverter::toTrueColor(const PixelStorage& source) {
    auto result = PixelStorage::create(source.width(), source.height(), 24, 0);
    for (int y = 0; y < source.rows(); ++y) {
        const uchar* in = source.row(y);
        uchar* out = result->row(y);
        for (int x = 0; x < source.width(); ++x) {
            const quint32 c = colorAt(source, in, x);
            out[3 * x] = uchar(c >> 16);
            out[3 * x + 1] = uchar(c >> 8);
            out[3 * x + 2] = uchar(c);
        }
    }
    return result;
}

std::shared_ptr<PixelStorage> PixelFormatConverter::widen(const PixelStorage& source,
                                                          int bitCount) {
    auto result =
        PixelStorage::create(source.width(), source.height(), bitCount, source.colorCount());
    std::memcpy(result->colorTable(), source.colorTable(), 1024);
    for (int y = 0; y < source.rows(); ++y) {
        const uchar* in = source.row(y);
        uchar* out = result->row(y);
        for (int x = 0; x < source.width(); ++x) {
            putIndex(out, x, bitCount, indexAt(in, x, source.bitCount()));
        }
    }
    return result;
}

std::shared_ptr<PixelStorage> PixelFormatConverter::reduce(const PixelStorage& source,
                                                           int bitCount) {
    const std::vector<quint32> table = reducedTable(bitCount);
    auto result =
        PixelStorage::create(source.width(), source.height(), bitCount, int(table.size()));
    for (size_t i = 0; i < table.size(); ++i) result->setColor(int(i), table[i]);
    std::vector<int> paletteMap;  // source index -> target index, for palette sources
    if (source.bitCount() != 24) {
        for (int i = 0; i < (1 << source.bitCount()); ++i) {
            paletteMap.push_back(nearest(table, source.color(i)));
        }
    }
    for (int y = 0; y < source.rows(); ++y) {
        const uchar* in = source.row(y);
        uchar* out = result->row(y);
        for (int x = 0; x < source.width(); ++x) {
            int index;
            if (!paletteMap.empty()) {
                index = paletteMap[size_t(indexAt(in, x, source.bitCount()))];
            } else {
                const quint32 c = colorAt(source, in, x);
                index = bitCount == 8 ? cubeIndex(c) : nearest(table, c);
            }
            putIndex(out, x, bitCount, index);
        }
    }
    return result;
}

}  // namespace tessaly
