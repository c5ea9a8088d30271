#include "core/checks/filecarriers.h"

#include <libheif/heif.h>
#include <zlib.h>

#include <QFile>
#include <QMap>
#include <QtEndian>
#include <memory>
#include <vector>

#include "core/checks/packetcarriers.h"
#include "core/imaging/jpeg/jpegsegments.h"
#include "core/imaging/reader/photoreader.h"
#include "core/text/errors.h"

namespace tessaly {

namespace {

const QByteArray kExifHeader("Exif\0\0", 6);
const QByteArray kPhotoshopHeader("Photoshop 3.0\0", 14);
const QByteArray kExtendedXmpHeader("http://ns.adobe.com/xmp/extension/\0", 35);
const QByteArray kPngSignature("\x89PNG\r\n\x1A\n", 8);

// The largest file read whole; pictures are far smaller.
constexpr qint64 kMaxFileBytes = qint64(1) << 30;
// The largest text a compressed chunk may grow to.
constexpr qsizetype kMaxInflatedBytes = qsizetype(64) << 20;

quint32 bigEndian(const QByteArray& data, qsizetype at, int bytes) {
    quint32 value = 0;
    for (int i = 0; i < bytes; ++i) value = value << 8 | quint8(data[at + i]);
    return value;
}

void note(PrivateFields& found, const PrivateFields& more) { found = found | more; }

// Extended XMP: the parts of each packet, by its GUID, put together at their offsets.
using ExtendedXmp = QMap<QByteArray, QByteArray>;

void addExtendedPart(ExtendedXmp& packets, const QByteArray& data) {
    const qsizetype head = kExtendedXmpHeader.size() + 32 + 8;
    if (data.size() < head) return;
    const QByteArray guid = data.mid(kExtendedXmpHeader.size(), 32);
    const quint32 total = bigEndian(data, kExtendedXmpHeader.size() + 32, 4);
    const quint32 offset = bigEndian(data, kExtendedXmpHeader.size() + 36, 4);
    if (total > quint32(kMaxInflatedBytes) || offset >= total) return;
    QByteArray& packet = packets[guid];
    if (packet.size() != qsizetype(total)) packet = QByteArray(qsizetype(total), ' ');
    const QByteArray part = data.mid(head, qsizetype(total - offset));
    packet.replace(qsizetype(offset), part.size(), part);
}

PrivateFields appSegment(int marker, const QByteArray& data, ExtendedXmp& extended) {
    if (marker == JpegSegments::kApp1 && data.startsWith(kExifHeader)) {
        return PacketCarriers::exif(data);
    }
    if (marker == JpegSegments::kApp1 && data.startsWith(JpegSegments::kXmpHeader)) {
        return PacketCarriers::xmp(data.mid(JpegSegments::kXmpHeader.size()));
    }
    if (marker == JpegSegments::kApp1 && data.startsWith(kExtendedXmpHeader)) {
        addExtendedPart(extended, data);
    } else if (marker == 0xED && data.startsWith(kPhotoshopHeader)) {
        return PacketCarriers::photoshop(data);
    }
    return {};
}

// The segments of the picture starting at `at` up to its image data; where that starts.
qsizetype jpegSegments(const QByteArray& file, qsizetype at, PrivateFields& found,
                       ExtendedXmp& extended) {
    at += 2;  // the start of image
    while (at + 4 <= file.size()) {
        if (quint8(file[at]) != 0xFF) return at;
        const int marker = quint8(file[at + 1]);
        if (marker == 0xFF) {
            ++at;  // fill
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            at += 2;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9) return at;
        const qsizetype length = bigEndian(file, at + 2, 2);
        if (length < 2) return at;
        note(found, appSegment(marker, file.mid(at + 4, length - 2), extended));
        at += 2 + length;
    }
    return at;
}

// A zlib stream undone, at most kMaxInflatedBytes of it; what could be undone of a damaged one.
QByteArray inflated(const QByteArray& data) {
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) return {};
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
    stream.avail_in = uInt(data.size());
    QByteArray text;
    char buffer[16384];
    int status = Z_OK;
    while (status == Z_OK && text.size() < kMaxInflatedBytes) {
        stream.next_out = reinterpret_cast<Bytef*>(buffer);
        stream.avail_out = sizeof buffer;
        status = inflate(&stream, Z_NO_FLUSH);
        text.append(buffer, qsizetype(sizeof buffer - stream.avail_out));
    }
    inflateEnd(&stream);
    return text;
}

// A PNG text chunk's keyword and text.
PrivateFields pngText(const QByteArray& type, const QByteArray& data) {
    const qsizetype end = data.indexOf('\0');
    if (end < 0) return {};
    const QByteArray keyword = data.left(end);
    QByteArray text;
    if (type == "tEXt") {
        text = data.mid(end + 1);
    } else if (type == "zTXt") {
        text = inflated(data.mid(end + 2));
    } else {  // iTXt: compression flag and method, language, translated keyword, text
        const bool compressed = data.size() > end + 1 && data[end + 1] != '\0';
        const qsizetype language = data.indexOf('\0', end + 3);
        const qsizetype translated = language < 0 ? -1 : data.indexOf('\0', language + 1);
        if (translated < 0) return {};
        text = data.mid(translated + 1);
        if (compressed) text = inflated(text);
    }
    if (keyword.startsWith("Raw profile type ")) return PacketCarriers::rawProfile(text);
    if (keyword == "XML:com.adobe.xmp" || text.contains("<x:xmpmeta") || text.contains("rdf:RDF")) {
        return PacketCarriers::xmp(text);
    }
    return {};
}

struct ContextFree {
    void operator()(heif_context* p) const { heif_context_free(p); }
};
struct HandleRelease {
    void operator()(heif_image_handle* p) const { heif_image_handle_release(p); }
};

// An EXIF item: the TIFF data after the offset field that says where it starts, or alone.
PrivateFields heifExif(const QByteArray& item) {
    for (const char* header : {"II*\0", "MM\0*"}) {
        if (item.startsWith(QByteArray(header, 4))) return PacketCarriers::exif(item);
    }
    if (item.size() < 4) return {};
    return PacketCarriers::exif(item.mid(4 + qsizetype(bigEndian(item, 0, 4))));
}

// Every metadata item of the image: EXIF and XMP (a "mime" item holding XML).
PrivateFields heifItems(heif_image_handle* handle) {
    PrivateFields found;
    std::vector<heif_item_id> ids(
        size_t(heif_image_handle_get_number_of_metadata_blocks(handle, nullptr)));
    ids.resize(size_t(heif_image_handle_get_list_of_metadata_block_IDs(handle, nullptr, ids.data(),
                                                                       int(ids.size()))));
    for (const heif_item_id id : ids) {
        const size_t size = heif_image_handle_get_metadata_size(handle, id);
        if (size == 0 || size > size_t(kMaxInflatedBytes)) continue;
        QByteArray item(qsizetype(size), Qt::Uninitialized);
        if (heif_image_handle_get_metadata(handle, id, item.data()).code != heif_error_Ok) continue;
        const QByteArray type = heif_image_handle_get_metadata_type(handle, id);
        if (type == "Exif") note(found, heifExif(item));
        if (type == "mime") note(found, PacketCarriers::xmp(item));
    }
    return found;
}

}  // namespace

PrivateFields FileCarriers::of(const QString& path) {
    QFile file(path);
    if (file.size() > kMaxFileBytes || !file.open(QIODevice::ReadOnly)) return {};
    const PhotoFormat format = photoFormatOf(file.peek(32));
    try {
        switch (format) {
            case PhotoFormat::Jpeg:
                return ofJpeg(file.readAll());
            case PhotoFormat::Png:
                return ofPng(file.readAll());
            case PhotoFormat::Webp:
                return ofWebp(file.readAll());
            case PhotoFormat::Heif:
                return ofHeif(path);
            default:
                return {};
        }
    } catch (const Error&) {
        return {};
    }
}

PrivateFields FileCarriers::ofJpeg(const QByteArray& file) {
    PrivateFields found;
    ExtendedXmp extended;
    // Every picture the file holds: the main one and those after it (as the second pictures
    // of stereo, depth or preview images).
    for (qsizetype at = 0; at >= 0 && at < file.size();) {
        const qsizetype data = jpegSegments(file, at, found, extended);
        at = file.indexOf(QByteArray("\xFF\xD8\xFF", 3), qMax(data, at + 2));
    }
    for (const QByteArray& packet : extended) note(found, PacketCarriers::xmp(packet));
    return found;
}

PrivateFields FileCarriers::ofPng(const QByteArray& file) {
    PrivateFields found;
    for (qsizetype at = kPngSignature.size(); at + 12 <= file.size();) {
        const qsizetype length = bigEndian(file, at, 4);
        const QByteArray type = file.mid(at + 4, 4);
        const QByteArray data = file.mid(at + 8, length);
        if (type == "eXIf") note(found, PacketCarriers::exif(data));
        if (type == "tEXt" || type == "zTXt" || type == "iTXt") note(found, pngText(type, data));
        at += 12 + length;
    }
    return found;
}

PrivateFields FileCarriers::ofWebp(const QByteArray& file) {
    PrivateFields found;
    for (qsizetype at = 12; at + 8 <= file.size();) {
        const QByteArray fourcc = file.mid(at, 4);
        const qsizetype size = qFromLittleEndian<quint32>(file.constData() + at + 4);
        const QByteArray data = file.mid(at + 8, size);
        if (fourcc == "EXIF") note(found, PacketCarriers::exif(data));
        if (fourcc == "XMP ") note(found, PacketCarriers::xmp(data));
        at += 8 + size + (size & 1);
    }
    return found;
}

PrivateFields FileCarriers::ofHeif(const QString& path) {
    std::unique_ptr<heif_context, ContextFree> context(heif_context_alloc());
    if (!context ||
        heif_context_read_from_file(context.get(), QFile::encodeName(path).constData(), nullptr)
                .code != heif_error_Ok) {
        return {};
    }
    std::vector<heif_item_id> ids(
        size_t(heif_context_get_number_of_top_level_images(context.get())));
    ids.resize(size_t(
        heif_context_get_list_of_top_level_image_IDs(context.get(), ids.data(), int(ids.size()))));
    PrivateFields found;
    for (const heif_item_id id : ids) {
        heif_image_handle* handle = nullptr;
        if (heif_context_get_image_handle(context.get(), id, &handle).code != heif_error_Ok)
            continue;
        const std::unique_ptr<heif_image_handle, HandleRelease> owned(handle);
        note(found, heifItems(handle));
    }
    return found;
}

}  // namespace tessaly
