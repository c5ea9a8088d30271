#include "core/imaging/bmp/rlecodec.h"

#include "core/imaging/imageerrors.h"

namespace tessaly::rle {

namespace {

[[noreturn]] void badRle() { throw BmpFormatError(QString::fromLatin1(imagemsg::kBadRle)); }
[[noreturn]] void truncated() { throw BmpFormatError(QString::fromLatin1(imagemsg::kTruncated)); }

void putPixel(uchar* row, int x, int bitCount, int value) {
    if (bitCount == 8) {
        row[x] = uchar(value);
    } else if (x % 2 == 0) {
        row[x / 2] = uchar((row[x / 2] & 0x0F) | ((value & 0x0F) << 4));
    } else {
        row[x / 2] = uchar((row[x / 2] & 0xF0) | (value & 0x0F));
    }
}

int getPixel(const uchar* row, int x, int bitCount) {
    if (bitCount == 8) return row[x];
    return x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 0x0F;
}

// Position of the decoder; pixels go to row y, column x of the stored rows.
struct Cursor {
    const uchar* data;
    size_t size;
    size_t pos;
    int x;
    int y;
    int width;
    int rows;

    int next() {
        if (pos >= size) truncated();
        return data[pos++];
    }
    void need(int count) const {
        if (y >= rows || count > width - x) badRle();
    }
};

// Absolute block: count literal pixels, padded to a 16-bit boundary.
void absolute(Cursor& c, int count, int bitCount, uchar* out, int stride) {
    c.need(count);
    const int bytes = bitCount == 8 ? count : (count + 1) / 2;
    if (c.size - c.pos < size_t(bytes)) truncated();
    uchar* row = out + size_t(c.y) * size_t(stride);
    for (int i = 0; i < count; ++i) {
        const uchar b = c.data[c.pos + size_t(bitCount == 8 ? i : i / 2)];
        const int value = bitCount == 8 ? b : (i % 2 == 0 ? b >> 4 : b & 0x0F);
        putPixel(row, c.x + i, bitCount, value);
    }
    c.x += count;
    c.pos += size_t(bytes + (bytes & 1));
    if (c.pos > c.size) c.pos = c.size;
}

}  // namespace

void decode(const uchar* data, size_t size, int bitCount, int width, int rows, uchar* out,
            int stride) {
    Cursor c{data, size, 0, 0, 0, width, rows};
    for (;;) {
        if (c.pos >= c.size && c.y >= rows) return;  // all rows done, end marker missing
        const int count = c.next();
        const int value = c.next();
        if (count > 0) {
            c.need(count);
            uchar* row = out + size_t(c.y) * size_t(stride);
            for (int i = 0; i < count; ++i) {
                const int v = bitCount == 8 ? value : (i % 2 == 0 ? value >> 4 : value & 0x0F);
                putPixel(row, c.x + i, bitCount, v);
            }
            c.x += count;
        } else if (value == 0) {  // end of line
            c.x = 0;
            ++c.y;
        } else if (value == 1) {  // end of bitmap
            return;
        } else if (value == 2) {  // delta
            const int dx = c.next();
            const int dy = c.next();
            if (dx > width - c.x || dy > rows - c.y || (dy == rows - c.y && dx > 0)) badRle();
            c.x += dx;
            c.y += dy;
        } else {
            absolute(c, value, bitCount, out, stride);
        }
    }
}

std::vector<uchar> encode(const uchar* rowsData, int stride, int width, int rows, int bitCount) {
    std::vector<uchar> out;
    for (int y = 0; y < rows; ++y) {
        const uchar* row = rowsData + size_t(y) * size_t(stride);
        int x = 0;
        while (x < width) {
            // A run repeats one pixel (8 bits) or one pair of pixels (4 bits).
            const int first = getPixel(row, x, bitCount);
            const int second = x + 1 < width ? getPixel(row, x + 1, bitCount) : 0;
            int n = 1;
            while (n < 255 && x + n < width) {
                const int expect = (bitCount == 8 || n % 2 == 0) ? first : second;
                if (getPixel(row, x + n, bitCount) != expect) break;
                ++n;
            }
            out.push_back(uchar(n));
            out.push_back(uchar(bitCount == 8 ? first : (first << 4) | second));
            x += n;
        }
        out.push_back(0);
        out.push_back(y + 1 < rows ? 0 : 1);
    }
    return out;
}

}  // namespace tessaly::rle
