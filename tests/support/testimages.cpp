#include "support/testimages.h"

#include <jpeglib.h>

#include <QFile>
#include <cstdlib>
#include <stdexcept>
#include <vector>

namespace tessaly::test {

namespace {

void putLe(QByteArray& bytes, int offset, quint32 value, int size) {
    for (int i = 0; i < size; ++i) {
        bytes[offset + i] = char((value >> (8 * i)) & 0xFF);
    }
}

// Encodes rows of 'components' bytes per pixel; libjpeg's default error handler exits only
// on programming errors, which the fixed settings here cannot raise.
QByteArray encodeRows(const std::vector<unsigned char>& pixels, int width, int height,
                      int components, int quality) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = JDIMENSION(width);
    cinfo.image_height = JDIMENSION(height);
    cinfo.input_components = components;
    cinfo.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    const size_t stride = size_t(width) * size_t(components);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(pixels.data() + cinfo.next_scanline * stride);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    QByteArray result(reinterpret_cast<const char*>(buffer), int(size));
    free(buffer);
    return result;
}

}  // namespace

unsigned testPatternColor(int x, int y, int width, int height) {
    const unsigned r = unsigned(x * 255 / (width > 1 ? width - 1 : 1));
    const unsigned g = unsigned(y * 255 / (height > 1 ? height - 1 : 1));
    const unsigned b = unsigned(((x / 8 + y / 8) % 2) ? 200 : 60);
    return r | (g << 8) | (b << 16);
}

QByteArray makeTestJpeg(int width, int height, bool grey, int quality) {
    const int components = grey ? 1 : 3;
    std::vector<unsigned char> pixels(size_t(width) * size_t(height) * size_t(components));
    size_t i = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const unsigned c = testPatternColor(x, y, width, height);
            if (grey) {
                pixels[i++] = static_cast<unsigned char>(
                    ((c & 0xFF) * 3 + ((c >> 8) & 0xFF) * 6 + ((c >> 16) & 0xFF)) / 10);
            } else {
                pixels[i++] = static_cast<unsigned char>(c & 0xFF);
                pixels[i++] = static_cast<unsigned char>((c >> 8) & 0xFF);
                pixels[i++] = static_cast<unsigned char>((c >> 16) & 0xFF);
            }
        }
    }
    return encodeRows(pixels, width, height, components, quality);
}

void writeTestJpeg(const QString& path, int width, int height, bool grey, int quality) {
    const QByteArray bytes = makeTestJpeg(width, height, grey, quality);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        throw std::runtime_error("cannot write test JPEG " + path.toStdString());
    }
}

QByteArray makeTestBmp24(int w, int h) {
    const int stride = ((w * 24 + 31) / 32) * 4;
    const int offset = 14 + 40;
    QByteArray bytes(offset + stride * h, '\0');
    bytes[0] = 'B';
    bytes[1] = 'M';
    putLe(bytes, 2, quint32(bytes.size()), 4);
    putLe(bytes, 10, quint32(offset), 4);
    putLe(bytes, 14, 40, 4);
    putLe(bytes, 18, quint32(w), 4);
    putLe(bytes, 22, quint32(h), 4);
    putLe(bytes, 26, 1, 2);
    putLe(bytes, 28, 24, 2);
    putLe(bytes, 34, quint32(stride * h), 4);
    for (int y = 0; y < h; ++y) {
        const int row = offset + (h - 1 - y) * stride;
        for (int x = 0; x < w; ++x) {
            const unsigned c = testPatternColor(x, y, w, h);
            bytes[row + 3 * x] = char((c >> 16) & 0xFF);
            bytes[row + 3 * x + 1] = char((c >> 8) & 0xFF);
            bytes[row + 3 * x + 2] = char(c & 0xFF);
        }
    }
    return bytes;
}

}  // namespace tessaly::test
