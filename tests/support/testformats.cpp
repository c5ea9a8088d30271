#include "support/testformats.h"

#include <png.h>
#include <webp/encode.h>
#include <webp/mux.h>

#include <stdexcept>
#include <vector>

namespace tessaly::test {

namespace {

struct PngOut {
    QByteArray bytes;
};

void appendBytes(png_structp png, png_bytep data, size_t size) {
    static_cast<PngOut*>(png_get_io_ptr(png))
        ->bytes.append(reinterpret_cast<const char*>(data), qsizetype(size));
}

void flushNothing(png_structp) {}

int colourType(PngOptions::Kind kind) {
    switch (kind) {
        case PngOptions::Kind::RgbAlpha:
            return PNG_COLOR_TYPE_RGB_ALPHA;
        case PngOptions::Kind::Grey:
            return PNG_COLOR_TYPE_GRAY;
        case PngOptions::Kind::GreyAlpha:
            return PNG_COLOR_TYPE_GRAY_ALPHA;
        case PngOptions::Kind::Palette:
            return PNG_COLOR_TYPE_PALETTE;
        default:
            return PNG_COLOR_TYPE_RGB;
    }
}

// The samples of one pixel as the colour type and depth store them.
void putPixel(std::vector<unsigned>& samples, const PngOptions& o, unsigned colour, bool right) {
    const unsigned r = colour & 0xFF, g = (colour >> 8) & 0xFF, b = (colour >> 16) & 0xFF;
    const unsigned top = (1u << o.bitDepth) - 1;
    auto scaled = [&](unsigned v) { return o.grey16 ? o.grey16 : v * top / 255; };
    switch (o.kind) {
        case PngOptions::Kind::Palette:
            samples.push_back(right ? 1 : 0);
            break;
        case PngOptions::Kind::Grey:
        case PngOptions::Kind::GreyAlpha:
            samples.push_back(scaled(g));
            if (o.kind == PngOptions::Kind::GreyAlpha)
                samples.push_back(unsigned(o.alpha) * top / 255);
            break;
        default:
            samples.push_back(scaled(r));
            samples.push_back(scaled(g));
            samples.push_back(scaled(b));
            if (o.kind == PngOptions::Kind::RgbAlpha)
                samples.push_back(unsigned(o.alpha) * top / 255);
    }
}

// Packs the samples of a row at the bit depth.
std::vector<png_byte> packRow(const std::vector<unsigned>& samples, int depth) {
    std::vector<png_byte> row((samples.size() * size_t(depth) + 7) / 8, 0);
    for (size_t i = 0; i < samples.size(); ++i) {
        if (depth == 16) {
            row[2 * i] = png_byte(samples[i] >> 8);
            row[2 * i + 1] = png_byte(samples[i] & 0xFF);
        } else {
            const size_t bit = i * size_t(depth);
            row[bit / 8] |= png_byte(samples[i] << (8 - depth - int(bit % 8)));
        }
    }
    return row;
}

int writePng(png_structp png, png_infop info, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png))) return 1;
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, info);
    return 0;
}

int setHeader(png_structp png, png_infop info, int w, int h, const PngOptions& o) {
    if (setjmp(png_jmpbuf(png))) return 1;
    png_set_IHDR(png, info, png_uint_32(w), png_uint_32(h), o.bitDepth, colourType(o.kind),
                 o.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (o.kind == PngOptions::Kind::Palette) {
        png_color palette[2] = {
            {png_byte(o.colour), png_byte(o.colour >> 8), png_byte(o.colour >> 16)},
            {png_byte(o.other), png_byte(o.other >> 8), png_byte(o.other >> 16)}};
        png_set_PLTE(png, info, palette, 2);
        png_byte alpha[1] = {0};
        if (o.transparent) png_set_tRNS(png, info, alpha, 1, nullptr);
    }
    if (!o.exif.isEmpty()) {
        png_set_eXIf_1(png, info, png_uint_32(o.exif.size()),
                       reinterpret_cast<png_bytep>(const_cast<char*>(o.exif.constData())));
    }
    if (!o.iccProfile.isEmpty()) {
        png_set_iCCP(png, info, "icc", 0,
                     reinterpret_cast<png_const_bytep>(o.iccProfile.constData()),
                     png_uint_32(o.iccProfile.size()));
    }
    if (!o.xmp.isEmpty()) {
        png_text text{};
        text.compression = PNG_ITXT_COMPRESSION_NONE;
        text.key = const_cast<char*>("XML:com.adobe.xmp");
        text.text = const_cast<char*>(o.xmp.constData());
        text.itxt_length = size_t(o.xmp.size());
        png_set_text(png, info, &text, 1);
    }
    return 0;
}

}  // namespace

QByteArray makeTestPng(int width, int height, const PngOptions& options) {
    std::vector<std::vector<png_byte>> rows;
    for (int y = 0; y < height; ++y) {
        std::vector<unsigned> samples;
        for (int x = 0; x < width; ++x) {
            const bool right = options.split && x >= width / 2;
            const unsigned colour = options.pattern ? options.pattern(x, y, width, height)
                                    : right         ? options.other
                                                    : options.colour;
            putPixel(samples, options, colour, right);
        }
        rows.push_back(packRow(samples, options.bitDepth));
    }
    std::vector<png_bytep> pointers;
    for (auto& row : rows) pointers.push_back(row.data());
    PngOut out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, appendBytes, flushNothing);
    const bool failed =
        setHeader(png, info, width, height, options) || writePng(png, info, pointers.data());
    png_destroy_write_struct(&png, &info);
    if (failed) throw std::runtime_error("libpng could not write the test file");
    return out.bytes;
}

namespace {

std::vector<uint8_t> solid(int w, int h, unsigned colour, int alpha) {
    std::vector<uint8_t> rgba;
    for (int i = 0; i < w * h; ++i) {
        rgba.push_back(uint8_t(colour));
        rgba.push_back(uint8_t(colour >> 8));
        rgba.push_back(uint8_t(colour >> 16));
        rgba.push_back(uint8_t(alpha));
    }
    return rgba;
}

QByteArray encodeStill(int w, int h, const WebpOptions& o) {
    std::vector<uint8_t> rgba = solid(w, h, o.colour, o.alpha);
    for (int i = 0; o.pattern && i < w * h; ++i) {
        const unsigned colour = o.pattern(i % w, i / w, w, h);
        for (int c = 0; c < 3; ++c) rgba[size_t(i) * 4 + size_t(c)] = uint8_t(colour >> (8 * c));
    }
    uint8_t* output = nullptr;
    const size_t size = o.lossless ? WebPEncodeLosslessRGBA(rgba.data(), w, h, w * 4, &output)
                                   : WebPEncodeRGBA(rgba.data(), w, h, w * 4, 90, &output);
    if (size == 0) throw std::runtime_error("libwebp could not encode the test file");
    const QByteArray bytes(reinterpret_cast<const char*>(output), qsizetype(size));
    WebPFree(output);
    return bytes;
}

QByteArray encodeAnimation(int w, int h, const WebpOptions& o) {
    WebPAnimEncoderOptions options;
    WebPAnimEncoderOptionsInit(&options);
    WebPAnimEncoder* encoder = WebPAnimEncoderNew(w, h, &options);
    WebPConfig config;
    WebPConfigInit(&config);
    config.lossless = 1;
    for (int frame = 0; frame < 2; ++frame) {
        std::vector<uint8_t> rgba = solid(w, h, frame ? o.other : o.colour, 255);
        WebPPicture picture;
        WebPPictureInit(&picture);
        picture.use_argb = 1;
        picture.width = w;
        picture.height = h;
        WebPPictureImportRGBA(&picture, rgba.data(), w * 4);
        WebPAnimEncoderAdd(encoder, &picture, frame * 100, &config);
        WebPPictureFree(&picture);
    }
    WebPAnimEncoderAdd(encoder, nullptr, 200, nullptr);
    WebPData data;
    WebPDataInit(&data);
    WebPAnimEncoderAssemble(encoder, &data);
    const QByteArray bytes(reinterpret_cast<const char*>(data.bytes), qsizetype(data.size));
    WebPDataClear(&data);
    WebPAnimEncoderDelete(encoder);
    return bytes;
}

}  // namespace

QByteArray makeTestWebp(int width, int height, const WebpOptions& options) {
    const QByteArray plain = options.animated ? encodeAnimation(width, height, options)
                                              : encodeStill(width, height, options);
    if (options.exif.isEmpty() && options.iccProfile.isEmpty() && options.xmp.isEmpty())
        return plain;
    const WebPData image = {reinterpret_cast<const uint8_t*>(plain.constData()),
                            size_t(plain.size())};
    WebPMux* mux = WebPMuxCreate(&image, 1);
    const WebPData exif = {reinterpret_cast<const uint8_t*>(options.exif.constData()),
                           size_t(options.exif.size())};
    const WebPData icc = {reinterpret_cast<const uint8_t*>(options.iccProfile.constData()),
                          size_t(options.iccProfile.size())};
    if (!options.exif.isEmpty()) WebPMuxSetChunk(mux, "EXIF", &exif, 1);
    if (!options.iccProfile.isEmpty()) WebPMuxSetChunk(mux, "ICCP", &icc, 1);
    const WebPData xmp = {reinterpret_cast<const uint8_t*>(options.xmp.constData()),
                          size_t(options.xmp.size())};
    if (!options.xmp.isEmpty()) WebPMuxSetChunk(mux, "XMP ", &xmp, 1);
    WebPData assembled;
    WebPDataInit(&assembled);
    WebPMuxAssemble(mux, &assembled);
    const QByteArray bytes(reinterpret_cast<const char*>(assembled.bytes),
                           qsizetype(assembled.size));
    WebPDataClear(&assembled);
    WebPMuxDelete(mux);
    return bytes;
}

}  // namespace tessaly::test
