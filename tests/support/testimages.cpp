#include "support/testimages.h"

#include <jpeglib.h>
#include <libexif/exif-data.h>

#include <QFile>
#include <algorithm>
#include <cstdlib>
#include <cstring>
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
    for (const auto& [marker, payload] : layout.segments) {
        jpeg_write_marker(&cinfo, marker, reinterpret_cast<const JOCTET*>(payload.constData()),
                          unsigned(payload.size()));
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

namespace {

void addEntry(ExifData* data, ExifIfd ifd, int tag, ExifFormat format, const QByteArray& value) {
    ExifEntry* entry = exif_entry_new();
    entry->tag = static_cast<ExifTag>(tag);
    entry->format = format;
    entry->size = unsigned(value.size());
    entry->components =
        format == EXIF_FORMAT_ASCII ? entry->size : entry->size / exif_format_get_size(format);
    entry->data = static_cast<unsigned char*>(malloc(size_t(value.size())));
    memcpy(entry->data, value.constData(), size_t(value.size()));
    exif_content_add_entry(data->ifd[ifd], entry);
    exif_entry_unref(entry);
}

QByteArray bigEndian(quint32 value, int bytes) {
    QByteArray out;
    for (int i = bytes - 1; i >= 0; --i) out.append(char((value >> (8 * i)) & 0xFF));
    return out;
}

QByteArray cameraExif(int w, int h, int orientation) {
    ExifData* data = exif_data_new();
    exif_data_unset_option(data, EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    exif_data_set_byte_order(data, EXIF_BYTE_ORDER_MOTOROLA);
    addEntry(data, EXIF_IFD_0, 0x010F, EXIF_FORMAT_ASCII, QByteArray("PENTAX", 7));
    addEntry(data, EXIF_IFD_0, 0x0112, EXIF_FORMAT_SHORT, bigEndian(quint32(orientation), 2));
    addEntry(data, EXIF_IFD_EXIF, 0x9003, EXIF_FORMAT_ASCII, QByteArray("2024:05:06 07:08:09", 20));
    addEntry(data, EXIF_IFD_EXIF, 0xA002, EXIF_FORMAT_LONG, bigEndian(quint32(w), 4));
    addEntry(data, EXIF_IFD_EXIF, 0xA003, EXIF_FORMAT_SHORT, bigEndian(quint32(h), 2));
    const QByteArray thumbnail = makeTestJpeg(16, 12);
    data->data = static_cast<unsigned char*>(malloc(size_t(thumbnail.size())));
    memcpy(data->data, thumbnail.constData(), size_t(thumbnail.size()));
    data->size = unsigned(thumbnail.size());
    unsigned char* bytes = nullptr;
    unsigned int size = 0;
    exif_data_save_data(data, &bytes, &size);
    QByteArray block(reinterpret_cast<const char*>(bytes), int(size));
    free(bytes);
    exif_data_unref(data);
    return block;
}

// cameraExif with what a published photograph must not carry: a GPS position, body and lens
// serial numbers, the owner's name and a maker note; and Artist and Copyright, which it keeps.
QByteArray privateExif(int w, int h, int orientation) {
    ExifData* data = exif_data_new();
    exif_data_unset_option(data, EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    exif_data_set_byte_order(data, EXIF_BYTE_ORDER_MOTOROLA);
    const auto rational = [](quint32 a, quint32 b) { return bigEndian(a, 4) + bigEndian(b, 4); };
    addEntry(data, EXIF_IFD_0, 0x010F, EXIF_FORMAT_ASCII, QByteArray("PENTAX", 7));
    addEntry(data, EXIF_IFD_0, 0x0110, EXIF_FORMAT_ASCII, QByteArray("K-3", 4));
    addEntry(data, EXIF_IFD_0, 0x0112, EXIF_FORMAT_SHORT, bigEndian(quint32(orientation), 2));
    addEntry(data, EXIF_IFD_0, 0x013B, EXIF_FORMAT_ASCII, QByteArray("Hana", 5));
    addEntry(data, EXIF_IFD_0, 0x8298, EXIF_FORMAT_ASCII, QByteArray("(c) Hana", 9));
    addEntry(data, EXIF_IFD_EXIF, 0x9003, EXIF_FORMAT_ASCII, QByteArray("2024:05:06 07:08:09", 20));
    addEntry(data, EXIF_IFD_EXIF, 0x829A, EXIF_FORMAT_RATIONAL, rational(1, 250));
    addEntry(data, EXIF_IFD_EXIF, 0xA002, EXIF_FORMAT_LONG, bigEndian(quint32(w), 4));
    addEntry(data, EXIF_IFD_EXIF, 0xA003, EXIF_FORMAT_LONG, bigEndian(quint32(h), 4));
    addEntry(data, EXIF_IFD_EXIF, 0xA430, EXIF_FORMAT_ASCII, QByteArray("Hana Owner", 11));
    addEntry(data, EXIF_IFD_EXIF, 0xA431, EXIF_FORMAT_ASCII, QByteArray("4711-BODY", 10));
    addEntry(data, EXIF_IFD_EXIF, 0xA434, EXIF_FORMAT_ASCII, QByteArray("smc 50mm", 9));
    addEntry(data, EXIF_IFD_EXIF, 0xA435, EXIF_FORMAT_ASCII, QByteArray("0815-LENS", 10));
    addEntry(data, EXIF_IFD_EXIF, 0x927C, EXIF_FORMAT_UNDEFINED,
             QByteArray("AOC\0MMserial4711", 16));
    addEntry(data, EXIF_IFD_GPS, 0x0001, EXIF_FORMAT_ASCII, QByteArray("N", 2));
    addEntry(data, EXIF_IFD_GPS, 0x0002, EXIF_FORMAT_RATIONAL,
             rational(35, 1) + rational(39, 1) + rational(2910, 100));
    addEntry(data, EXIF_IFD_GPS, 0x0003, EXIF_FORMAT_ASCII, QByteArray("E", 2));
    addEntry(data, EXIF_IFD_GPS, 0x0004, EXIF_FORMAT_RATIONAL,
             rational(139, 1) + rational(44, 1) + rational(2850, 100));
    const QByteArray thumbnail = makeTestJpeg(16, 12);
    data->data = static_cast<unsigned char*>(malloc(size_t(thumbnail.size())));
    memcpy(data->data, thumbnail.constData(), size_t(thumbnail.size()));
    data->size = unsigned(thumbnail.size());
    unsigned char* bytes = nullptr;
    unsigned int size = 0;
    exif_data_save_data(data, &bytes, &size);
    QByteArray block(reinterpret_cast<const char*>(bytes), int(size));
    free(bytes);
    exif_data_unref(data);
    return block;
}

}  // namespace

std::vector<std::pair<int, QByteArray>> privateCameraSegments(int w, int h, int orientation) {
    const QByteArray xmp =
        QByteArray("http://ns.adobe.com/xap/1.0/", 29) +
        "<?xpacket begin='\xEF\xBB\xBF' id='W5M0MpCehiHzreSzNTczkc9d'?>"
        "<x:xmpmeta xmlns:x='adobe:ns:meta/'><rdf:RDF "
        "xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'><rdf:Description "
        "xmlns:dc='http://purl.org/dc/elements/1.1/' "
        "xmlns:exif='http://ns.adobe.com/exif/1.0/' "
        "xmlns:aux='http://ns.adobe.com/exif/1.0/aux/' "
        "xmlns:photoshop='http://ns.adobe.com/photoshop/1.0/' "
        "exif:GPSLatitude='35,39.485N' exif:GPSLongitude='139,44.475E' "
        "aux:SerialNumber='4711' photoshop:City='Tokyo'>"
        "<dc:title><rdf:Alt><rdf:li xml:lang='x-default'>湖の朝</rdf:li></rdf:Alt></dc:title>"
        "<dc:rights>(c) Hana</dc:rights>"
        "<photoshop:Country>Japan</photoshop:Country>"
        "<aux:OwnerName>Hana Owner</aux:OwnerName>"
        "</rdf:Description></rdf:RDF></x:xmpmeta>"
        "<?xpacket end='w'?>";
    const QByteArray iim = QByteArray("\x1C\x02\x6E\x00\x06Tester", 11) +
                           QByteArray("\x1C\x02\x5A\x00\x05Tokyo", 10) +
                           QByteArray("\x1C\x02\x19\x00\x04lake", 9);
    const QByteArray thumb(
        "8BIM\x04\x0C\0\0\0\0\0\x04"
        "abcd",
        16);
    const QByteArray iptc = QByteArray("Photoshop 3.0\0008BIM\x04\x04\0\0", 22) +
                            bigEndian(quint32(iim.size()), 4) + iim +
                            (iim.size() % 2 ? QByteArray(1, '\0') : QByteArray()) + thumb;
    std::vector<std::pair<int, QByteArray>> segments = cameraSegments(w, h, orientation);
    segments[0].second = privateExif(w, h, orientation);
    segments[1].second = xmp;
    segments[2].second = iptc;
    return segments;
}

QByteArray iccProfile(const QByteArray& space, int bytes, const QByteArray& name) {
    QByteArray profile(bytes, '\x5A');
    const QByteArray size = bigEndian(quint32(bytes), 4);
    profile.replace(0, 4, size);
    profile.replace(12, 4, "mntr");
    profile.replace(16, 4, space.leftJustified(4, ' '));
    profile.replace(36, 4, "acsp");
    profile.replace(128, 4, bigEndian(1, 4));  // one tag: the description
    profile.replace(132, 12, "desc" + bigEndian(144, 4) + bigEndian(12 + name.size() + 1, 4));
    profile.replace(144, 12 + name.size() + 1,
                    "desc" + bigEndian(0, 4) + bigEndian(name.size() + 1, 4) + name + '\0');
    return profile;
}

std::vector<std::pair<int, QByteArray>> cameraSegments(int w, int h, int orientation) {
    const QByteArray xmp =
        QByteArray("http://ns.adobe.com/xap/1.0/", 29) +
        "<x:xmpmeta xmlns:x='adobe:ns:meta/'><rdf:RDF "
        "xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'><rdf:Description "
        "xmlns:dc='http://purl.org/dc/elements/1.1/'><dc:title>湖の朝</dc:title>"
        "</rdf:Description></rdf:RDF></x:xmpmeta>";
    const QByteArray iptcCredit = QByteArray("\x1C\x02\x6E\x00\x06Tester", 11);
    const QByteArray iptc = QByteArray("Photoshop 3.0\0008BIM\x04\x04\0\0", 22) +
                            bigEndian(quint32(iptcCredit.size()), 4) + iptcCredit + '\0';
    const QByteArray profile = iccProfile("RGB ", 70000, "Adobe RGB (1998)");
    const QByteArray tag("ICC_PROFILE", 12);
    const int room = 65519;
    return {{JPEG_APP0 + 1, cameraExif(w, h, orientation)},
            {JPEG_APP0 + 1, xmp},
            {JPEG_APP0 + 13, iptc},
            {JPEG_APP0 + 2, tag + '\x01' + '\x02' + profile.left(room)},
            {JPEG_APP0 + 2, tag + '\x02' + '\x02' + profile.mid(room)},
            {JPEG_COM, "撮影: テスト"}};
}

QByteArray exifOrientationPayload(int value) {
    QByteArray p("Exif\0\0II*\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0", 24);
    p.append(char(value & 0xFF)).append('\0').append(2, '\0');  // value, padding
    p.append(4, '\0');                                          // no next IFD
    return p;
}

namespace {

QByteArray littleEndian(quint32 value, int bytes) {
    QByteArray out;
    for (int i = 0; i < bytes; ++i) out.append(char((value >> (8 * i)) & 0xFF));
    return out;
}

// Appends a directory at `at` (from the TIFF start); values longer than four bytes go to
// `data`, which starts at dataAt.
void appendDirectory(QByteArray& tiff, const std::vector<TiffEntry>& entries, QByteArray& data,
                     quint32 dataAt) {
    tiff += littleEndian(quint32(entries.size()), 2);
    for (const TiffEntry& entry : entries) {
        tiff += littleEndian(quint32(entry.tag), 2) + littleEndian(quint32(entry.type), 2) +
                littleEndian(entry.count, 4);
        if (entry.value.size() <= 4) {
            tiff += entry.value.leftJustified(4, '\0');
        } else {
            tiff += littleEndian(dataAt + quint32(data.size()), 4);
            data += entry.value;
        }
    }
    tiff += littleEndian(0, 4);  // no next directory
}

}  // namespace

TiffEntry shortEntry(int tag, quint32 value, quint32 count) {
    return {tag, 3, count, littleEndian(value, 2)};
}
TiffEntry longEntry(int tag, quint32 value) { return {tag, 4, 1, littleEndian(value, 4)}; }
TiffEntry textEntry(int tag, const QByteArray& text) {
    return {tag, 2, quint32(text.size() + 1), text + '\0'};
}

QByteArray handMadeExif(const std::vector<TiffEntry>& ifd0, const std::vector<TiffEntry>& exif,
                        quint32 exifPointer) {
    std::vector<TiffEntry> first = ifd0;
    const quint32 ifd0Size = quint32(2 + 12 * (ifd0.size() + (exif.empty() ? 0 : 1)) + 4);
    const quint32 exifAt = 8 + ifd0Size;
    const quint32 dataAt = exifAt + (exif.empty() ? 0 : quint32(2 + 12 * exif.size() + 4));
    if (!exif.empty()) first.push_back(longEntry(0x8769, exifPointer ? exifPointer : exifAt));
    QByteArray tiff("II*\0\x08\0\0\0", 8), data;
    appendDirectory(tiff, first, data, dataAt);
    if (!exif.empty()) appendDirectory(tiff, exif, data, dataAt);
    return QByteArray("Exif\0\0", 6) + tiff + data;
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
