// Writes a test photograph: a colour gradient JPEG of the given size with a number drawn as
// bars, so each generated photo looks different. A name ending in .png, .webp, .avif or .heic
// gets a picture of that format instead (a plain colour, semi-transparent for .png).
//   make_test_photo OUT.jpg WIDTH HEIGHT [VARIANT]
// clang-format off
#include <cstdio>  // before jpeglib.h, which uses size_t and FILE
#include <cstdlib>
#include <vector>

#include <jpeglib.h>
// clang-format on

#include <QFile>
#include <QString>

#include "support/testformats.h"
#include "support/testheif.h"

namespace {

// Writes a picture of another format; false when the name asks for a JPEG.
bool writeOtherFormat(const QString& path, int width, int height) {
    using namespace tessaly::test;
    QByteArray bytes;
    if (path.endsWith(".png")) {
        PngOptions options;
        options.kind = PngOptions::Kind::RgbAlpha;
        options.alpha = 160;
        bytes = makeTestPng(width, height, options);
    } else if (path.endsWith(".webp")) {
        bytes = makeTestWebp(width, height);
    } else if (path.endsWith(".avif") || path.endsWith(".heic")) {
        HeicOptions options;
        options.av1 = path.endsWith(".avif");
        bytes = makeTestHeic(width, height, options);
    } else {
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) std::exit(1);
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: make_test_photo OUT.jpg WIDTH HEIGHT [VARIANT]\n");
        return 2;
    }
    const int width = std::atoi(argv[2]);
    const int height = std::atoi(argv[3]);
    const int variant = argc > 4 ? std::atoi(argv[4]) : 0;
    if (width < 1 || height < 1 || width > 10000 || height > 10000) return 2;
    if (writeOtherFormat(QString::fromLocal8Bit(argv[1]), width, height)) return 0;
    FILE* out = std::fopen(argv[1], "wb");
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, out);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 85, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<unsigned char> row(static_cast<size_t>(width) * 3);
    while (cinfo.next_scanline < cinfo.image_height) {
        const int y = static_cast<int>(cinfo.next_scanline);
        for (int x = 0; x < width; ++x) {
            row[x * 3] = static_cast<unsigned char>((x * 255 / width + variant * 40) & 0xFF);
            row[x * 3 + 1] = static_cast<unsigned char>((y * 255 / height) & 0xFF);
            row[x * 3 + 2] = static_cast<unsigned char>((variant * 73) & 0xFF);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return std::fclose(out) == 0 ? 0 : 1;
}
