#include "support/testheif.h"

#include <libexif/exif-data.h>
#include <libheif/heif.h>

#include <QFile>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "support/tempdir.h"
#include "support/testimages.h"

namespace tessaly::test {

namespace {

void check(const heif_error& error) {
    if (error.code != heif_error_Ok) throw std::runtime_error(error.message);
}

heif_error collect(heif_context*, const void* data, size_t size, void* userdata) {
    static_cast<QByteArray*>(userdata)->append(static_cast<const char*>(data), int(size));
    return heif_error{heif_error_Ok, heif_suberror_Unspecified, "Success"};
}

// The pattern's green as one grey plane of the bit depth.
heif_image* greyImage(int width, int height, const HeicOptions& options) {
    heif_image* image = nullptr;
    check(heif_image_create(width, height, heif_colorspace_monochrome, heif_chroma_monochrome,
                            &image));
    check(heif_image_add_plane(image, heif_channel_Y, width, height, options.bitDepth));
    int stride = 0;
    uint8_t* rows = heif_image_get_plane(image, heif_channel_Y, &stride);
    const unsigned top = (1u << options.bitDepth) - 1;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const unsigned colour = options.pattern ? options.pattern(x, y, width, height)
                                                    : testPatternColor(x, y, width, height);
            const unsigned v = ((colour >> 8) & 0xFF) * top / 255;
            if (options.bitDepth > 8) {
                rows[y * stride + x * 2] = uint8_t(v & 0xFF);
                rows[y * stride + x * 2 + 1] = uint8_t(v >> 8);
            } else {
                rows[y * stride + x] = uint8_t(v);
            }
        }
    }
    return image;
}

// The pattern as interleaved RGB(A) rows of 8 bits, or 16-bit little-endian words of 10 or
// 12 bits.
heif_image* patternImage(int width, int height, const HeicOptions& options) {
    if (options.monochrome) return greyImage(width, height, options);
    const bool deep = options.bitDepth > 8;
    const heif_chroma chroma =
        deep ? (options.alpha ? heif_chroma_interleaved_RRGGBBAA_LE
                              : heif_chroma_interleaved_RRGGBB_LE)
             : (options.alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB);
    heif_image* image = nullptr;
    check(heif_image_create(width, height, heif_colorspace_RGB, chroma, &image));
    check(heif_image_add_plane(image, heif_channel_interleaved, width, height, options.bitDepth));
    int stride = 0;
    uint8_t* rows = heif_image_get_plane(image, heif_channel_interleaved, &stride);
    const int channels = options.alpha ? 4 : 3;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const unsigned colour = options.pattern ? options.pattern(x, y, width, height)
                                                    : testPatternColor(x, y, width, height);
            const unsigned values[4] = {colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF,
                                        unsigned(x % 2 ? 0 : 255)};
            for (int c = 0; c < channels; ++c) {
                if (deep) {
                    uint8_t* p = rows + y * stride + (x * channels + c) * 2;
                    const unsigned v = values[c] * ((1u << options.bitDepth) - 1) / 255;
                    p[0] = uint8_t(v & 0xFF);
                    p[1] = uint8_t(v >> 8);
                } else {
                    rows[y * stride + x * channels + c] = uint8_t(values[c]);
                }
            }
        }
    }
    return image;
}

}  // namespace

QByteArray makeTestHeic(int width, int height, const HeicOptions& options) {
    heif_context* context = heif_context_alloc();
    heif_encoder* encoder = nullptr;
    heif_image* image = nullptr;
    heif_encoding_options* encoding = heif_encoding_options_alloc();
    QByteArray bytes;
    try {
        check(heif_context_get_encoder_for_format(
            context, options.av1 ? heif_compression_AV1 : heif_compression_HEVC, &encoder));
        check(heif_encoder_set_lossy_quality(encoder, options.quality));
        if (!options.av1) heif_encoder_set_parameter(encoder, "preset", options.preset);
        if (options.av1) heif_encoder_set_parameter(encoder, "speed", "9");
        image = patternImage(width, height, options);
        if (!options.iccProfile.isEmpty()) {
            check(heif_image_set_raw_color_profile(image, "prof", options.iccProfile.constData(),
                                                   size_t(options.iccProfile.size())));
        }
        if (options.nclxPrimaries != 0) {
            heif_color_profile_nclx* nclx = heif_nclx_color_profile_alloc();
            heif_nclx_color_profile_set_color_primaries(nclx, uint16_t(options.nclxPrimaries));
            heif_nclx_color_profile_set_transfer_characteristics(nclx, 13);
            heif_nclx_color_profile_set_matrix_coefficients(nclx, 6);
            nclx->full_range_flag = 1;
            heif_image_set_nclx_color_profile(image, nclx);  // copies it
            encoding->macOS_compatibility_workaround_no_nclx_profile = 0;
            heif_nclx_color_profile_free(nclx);
        }
        encoding->image_orientation = heif_orientation(options.orientation);
        encoding->macOS_compatibility_workaround = options.clap ? 0 : 1;
        heif_image_handle* handle = nullptr;
        check(heif_context_encode_image(context, image, encoder, encoding, &handle));
        if (options.bareExif) {
            const QByteArray tiff = options.exif.mid(6);  // after "Exif\0\0"
            check(heif_context_add_generic_metadata(context, handle, tiff.constData(),
                                                    int(tiff.size()), "Exif", nullptr));
        } else if (!options.exif.isEmpty()) {
            check(heif_context_add_exif_metadata(context, handle, options.exif.constData(),
                                                 int(options.exif.size())));
        }
        if (!options.xmp.isEmpty()) {
            check(heif_context_add_XMP_metadata(context, handle, options.xmp.constData(),
                                                int(options.xmp.size())));
        }
        heif_image_handle_release(handle);
        heif_writer writer{1, collect};
        check(heif_context_write(context, &writer, &bytes));
    } catch (...) {
        heif_encoding_options_free(encoding);
        heif_image_release(image);
        if (encoder) heif_encoder_release(encoder);
        heif_context_free(context);
        throw;
    }
    heif_encoding_options_free(encoding);
    heif_image_release(image);
    heif_encoder_release(encoder);
    heif_context_free(context);
    return bytes;
}

void writeTestHeic(const QString& path, int width, int height, const HeicOptions& options) {
    const QByteArray bytes = makeTestHeic(width, height, options);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        throw std::runtime_error("cannot write " + path.toStdString());
    }
}

namespace {

void setText(ExifData* data, ExifIfd ifd, ExifTag tag, const QByteArray& text) {
    ExifEntry* entry = exif_entry_new();
    exif_content_add_entry(data->ifd[ifd], entry);
    entry->tag = tag;
    entry->format = EXIF_FORMAT_ASCII;
    entry->components = unsigned(text.size() + 1);
    entry->size = unsigned(text.size() + 1);
    entry->data = static_cast<unsigned char*>(std::calloc(entry->size, 1));
    std::memcpy(entry->data, text.constData(), size_t(text.size()));
    exif_entry_unref(entry);
}

// A field of one RATIONAL (a SHORT when den is 0).
void setNumber(ExifData* data, ExifIfd ifd, ExifTag tag, unsigned num, unsigned den) {
    ExifEntry* entry = exif_entry_new();
    exif_content_add_entry(data->ifd[ifd], entry);
    entry->tag = tag;
    entry->format = den ? EXIF_FORMAT_RATIONAL : EXIF_FORMAT_SHORT;
    entry->components = 1;
    entry->size = den ? 8 : 2;
    entry->data = static_cast<unsigned char*>(std::calloc(entry->size, 1));
    if (den) {
        exif_set_rational(entry->data, EXIF_BYTE_ORDER_INTEL, ExifRational{num, den});
    } else {
        exif_set_short(entry->data, EXIF_BYTE_ORDER_INTEL, ExifShort(num));
    }
    exif_entry_unref(entry);
}

// The EXIF block as libexif writes it; the data is released.
QByteArray savedBlock(ExifData* data) {
    unsigned char* bytes = nullptr;
    unsigned int size = 0;
    exif_data_save_data(data, &bytes, &size);
    QByteArray block(reinterpret_cast<const char*>(bytes), int(size));
    std::free(bytes);
    exif_data_unref(data);
    return block;
}

}  // namespace

QByteArray makeTestExif(const QString& make, const QString& dateTimeOriginal, int orientation) {
    ExifData* data = exif_data_new();
    exif_data_unset_option(data, EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    exif_data_set_byte_order(data, EXIF_BYTE_ORDER_MOTOROLA);
    setText(data, EXIF_IFD_0, EXIF_TAG_MAKE, make.toUtf8());
    setText(data, EXIF_IFD_0, EXIF_TAG_MODEL, QByteArray("Test Phone 12"));
    setText(data, EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_ORIGINAL, dateTimeOriginal.toUtf8());
    setText(data, EXIF_IFD_GPS, ExifTag(EXIF_TAG_GPS_LATITUDE_REF), QByteArray("N"));
    ExifEntry* turn = exif_entry_new();
    exif_content_add_entry(data->ifd[EXIF_IFD_0], turn);
    exif_entry_initialize(turn, EXIF_TAG_ORIENTATION);
    exif_set_short(turn->data, EXIF_BYTE_ORDER_MOTOROLA, ExifShort(orientation));
    exif_entry_unref(turn);
    return savedBlock(data);
}

QByteArray makeCameraJpeg(const QString& original, const QString& digitized,
                          const QString& dateTime, bool camera) {
    ExifData* data = exif_data_new();
    exif_data_unset_option(data, EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    exif_data_set_byte_order(data, EXIF_BYTE_ORDER_INTEL);
    const std::pair<ExifTag, QString> times[] = {{EXIF_TAG_DATE_TIME_ORIGINAL, original},
                                                 {EXIF_TAG_DATE_TIME_DIGITIZED, digitized},
                                                 {EXIF_TAG_DATE_TIME, dateTime}};
    for (const auto& [tag, text] : times) {
        if (!text.isEmpty())
            setText(data, tag == EXIF_TAG_DATE_TIME ? EXIF_IFD_0 : EXIF_IFD_EXIF, tag,
                    text.toUtf8());
    }
    if (camera) {
        setText(data, EXIF_IFD_0, EXIF_TAG_MODEL, QByteArray("NIKON D70"));
        setNumber(data, EXIF_IFD_EXIF, EXIF_TAG_FOCAL_LENGTH, 18, 1);
        setNumber(data, EXIF_IFD_EXIF, EXIF_TAG_EXPOSURE_TIME, 10, 600);
        setNumber(data, EXIF_IFD_EXIF, EXIF_TAG_FNUMBER, 4, 1);
        setNumber(data, EXIF_IFD_EXIF, EXIF_TAG_ISO_SPEED_RATINGS, 200, 0);
    }
    const QByteArray block = savedBlock(data);
    const std::vector<unsigned char> pixels(32 * 24 * 3, 128);
    return encodeJpeg(pixels, 32, 24, JpegLayout(), {block});
}

QStringList writeDatedPhotos(const QString& folder) {
    const QString noon = QStringLiteral("2024:05:06 10:00:00");
    writeFile(folder + "/a.jpg", makeCameraJpeg({}, {}, {}, true));  // camera, no time
    writeFile(folder + "/B.jpg", makeCameraJpeg(noon, {}, {}, false));
    writeFile(folder + "/c.jpg", makeCameraJpeg({}, {}, "2023:01:01 00:00:00", false));
    writeFile(folder + "/d.jpg",
              makeCameraJpeg({}, "2024:05:06 09:00:00", "2020:01:01 00:00:00", false));
    writeFile(folder + "/e.jpg", makeCameraJpeg("0000:00:00 00:00:00", {}, noon, false));
    writeTestJpeg(folder + "/f.jpg", 32, 24);  // no EXIF data
    return {"c.jpg", "d.jpg", "B.jpg", "e.jpg", "a.jpg", "f.jpg"};
}

}  // namespace tessaly::test
