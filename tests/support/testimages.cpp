#include "support/testimages.h"

#include <jpeglib.h>

#include <QFile>
#include <algorithm>
#include <cstdlib>
#include <random>
#include <stdexcept>
#include <vector>

namespace tessaly::test {

namespace {

void putLe(QByteArray& bytes, int offset, quint32 value, int size) {
    for (int i = 0; i < size; ++i) {
        bytes[offset + i] = char((value >> (8 * i)) & 0xFF);
    }
}

// Encodes rows of 'components' bytes per pixel with libjpeg's default settings (the colour
// sampling 2x2, 1x1, 1x1; grey 1x1).
QByteArray encodeRows(const std::vector<unsigned char>& pixels, int width, int height,
                      int components, int quality) {
    JpegLayout layout;
    layout.components = components;
    layout.quality = quality;
    if (components == 1) layout.h[0] = layout.v[0] = 1;
    return encodeJpeg(pixels, width, height, layout);
}

}  // namespace

// libjpeg's default error handler exits only on programming errors, which test layouts do not
// make.
QByteArray encodeJpeg(const std::vector<unsigned char>& pixels, int width, int height,
                      const JpegLayout& layout, const std::vector<QByteArray>& app1Segments) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = JDIMENSION(width);
    cinfo.image_height = JDIMENSION(height);
    cinfo.input_components = layout.components;
    cinfo.in_color_space = layout.components == 1   ? JCS_GRAYSCALE
                           : layout.components == 4 ? JCS_CMYK
                                                    : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    if (layout.rgb) jpeg_set_colorspace(&cinfo, JCS_RGB);
    if (layout.components == 4) cinfo.write_Adobe_marker = layout.adobeMarker ? TRUE : FALSE;
    jpeg_set_quality(&cinfo, layout.quality, TRUE);
    for (int c = 0; c < layout.components; ++c) {
        cinfo.comp_info[c].h_samp_factor = layout.h[c];
        cinfo.comp_info[c].v_samp_factor = layout.v[c];
    }
    if (layout.progressive) jpeg_simple_progression(&cinfo);
    cinfo.arith_code = layout.arithmetic ? TRUE : FALSE;
    cinfo.restart_in_rows = layout.restartRows;
    jpeg_start_compress(&cinfo, TRUE);
    if (layout.orientation != 0) {
        const QByteArray exif = exifOrientationPayload(layout.orientation);
        jpeg_write_marker(&cinfo, JPEG_APP0 + 1, reinterpret_cast<const JOCTET*>(exif.data()),
                          unsigned(exif.size()));
    }
    for (const QByteArray& segment : app1Segments) {
        jpeg_write_marker(&cinfo, JPEG_APP0 + 1,
                          reinterpret_cast<const JOCTET*>(segment.constData()),
                          unsigned(segment.size()));
    }
    const size_t stride = size_t(width) * size_t(layout.components);
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

QByteArray makePhotoJpeg(int width, int height, const JpegLayout& layout) {
    const int components = layout.components == 1 ? 1 : layout.components == 4 ? 4 : 3;
    std::vector<unsigned char> pixels(size_t(width) * size_t(height) * size_t(components));
    std::mt19937 random(layout.jitterSeed);
    std::uniform_int_distribution<int> jitter(-layout.noise, layout.noise);
    unsigned char* out = pixels.data();
    const int cx = width / 3, cy = height / 2, radius = std::max(1, std::min(width, height) / 4);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int dx = x - cx, dy = y - cy;
            const int disc = (qint64(dx) * dx + qint64(dy) * dy < qint64(radius) * radius) ? 60 : 0;
            const int square = ((x * 16 / width + y * 16 / height) % 2) * 30;
            const int rgb[4] = {x * 200 / width + disc, y * 180 / height + square,
                                120 + (x + y) % 97, (x * 7 + y * 3) % 64};
            for (int c = 0; c < components; ++c) {
                int value = components == 1 ? (rgb[0] + rgb[1] + rgb[2]) / 3 : rgb[c];
                if (components == 4) value = 255 - value;  // Adobe CMYK is stored inverted
                *out++ = static_cast<unsigned char>(
                    std::clamp(value + (layout.noise > 0 ? jitter(random) : 0), 0, 255));
            }
        }
    }
    JpegLayout actual = layout;
    actual.components = components;
    return encodeJpeg(pixels, width, height, actual);
}

QByteArray exifOrientationPayload(int value) {
    QByteArray p("Exif\0\0II*\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0", 24);
    p.append(char(value & 0xFF)).append('\0').append(2, '\0');  // value, padding
    p.append(4, '\0');                                          // no next IFD
    return p;
}

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
