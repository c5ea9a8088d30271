#include "core/imaging/metadata/privacyfilter.h"

#include <QXmlStreamReader>
#include <initializer_list>

#include "core/imaging/metadata/photometadata.h"
#include "core/imaging/metadata/xmpfilter.h"

namespace tessaly {

namespace {

const QByteArray kExifHeader("Exif\0\0", 6);
const QByteArray kPhotoshopHeader("Photoshop 3.0\0", 14);

enum class Kind { Other, Position, Location, Serial, Owner };

bool startsWithAny(QStringView name, std::initializer_list<const char*> starts) {
    for (const char* start : starts) {
        if (name.startsWith(QLatin1String(start))) return true;
    }
    return false;
}

bool isAny(QStringView name, std::initializer_list<const char*> names) {
    for (const char* n : names) {
        if (name == QLatin1String(n)) return true;
    }
    return false;
}

// What an XMP property tells, by its local name in any namespace (exif, exifEX, aux,
// photoshop, Iptc4xmpCore, Iptc4xmpExt and the cameras' own).
Kind kindOf(QStringView name) {
    if (isAny(name, {"GPSLatitude", "GPSLongitude"})) return Kind::Position;
    if (startsWithAny(name, {"GPS", "Location", "Sublocation", "City", "Country"}) ||
        isAny(name, {"State", "ProvinceState", "WorldRegion"})) {
        return Kind::Location;
    }
    if (name.endsWith(QLatin1String("SerialNumber"))) return Kind::Serial;
    if (isAny(name, {"OwnerName", "CameraOwnerName"})) return Kind::Owner;
    return Kind::Other;
}

void note(PrivateFields& found, Kind kind) {
    found.position = found.position || kind == Kind::Position;
    found.serial = found.serial || kind == Kind::Serial;
    found.owner = found.owner || kind == Kind::Owner;
}

PrivateFields findInXmp(const QByteArray& xml) {
    PrivateFields found;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement) continue;
        note(found, kindOf(reader.name()));
        for (const QXmlStreamAttribute& attribute : reader.attributes()) {
            note(found, kindOf(attribute.name()));
        }
    }
    return found;
}

quint32 bigEndian(const QByteArray& data, qsizetype at, int bytes) {
    quint32 value = 0;
    for (int i = 0; i < bytes; ++i) value = (value << 8) | uchar(data[at + i]);
    return value;
}

QByteArray bigEndianBytes(quint32 value, int bytes) {
    QByteArray out(bytes, '\0');
    for (int i = bytes - 1; i >= 0; --i, value >>= 8) out[i] = char(value & 0xFF);
    return out;
}

// The IPTC datasets a copy keeps: the coded character set (1:90), the record version (2:0),
// keywords (2:25), credit (2:110), copyright notice (2:116) and caption (2:120).
bool isKeptDataset(int record, int dataset) {
    if (record == 1) return dataset == 90;
    return record == 2 &&
           (dataset == 0 || dataset == 25 || dataset == 110 || dataset == 116 || dataset == 120);
}

// The IIM datasets a copy keeps; false when the data is damaged.
bool filterIim(const QByteArray& iim, QByteArray& out) {
    qsizetype at = 0;
    while (at < iim.size()) {
        if (uchar(iim[at]) != 0x1C || at + 5 > iim.size()) return uchar(iim[at]) == 0;
        const int record = uchar(iim[at + 1]), dataset = uchar(iim[at + 2]);
        quint32 length = bigEndian(iim, at + 3, 2);
        qsizetype start = at + 5;
        if (length & 0x8000) {  // extended: the length's own length follows
            const int bytes = int(length & 0x7FFF);
            if (bytes > 4 || start + bytes > iim.size()) return false;
            length = bigEndian(iim, start, bytes);
            start += bytes;
        }
        if (start + qsizetype(length) > iim.size()) return false;
        const qsizetype end = start + qsizetype(length);
        if (isKeptDataset(record, dataset)) out += iim.mid(at, end - at);
        at = end;
    }
    return true;
}

// Photoshop resources a copy keeps: IPTC (0x0404, filtered), resolution (0x03ED), the
// copyright flag (0x040A) and URL (0x040B). Thumbnails, embedded EXIF and XMP, and the IPTC
// digest (stale once the IPTC data changed) are not.
bool keptResource(quint32 id) {
    return id == 0x0404 || id == 0x03ED || id == 0x040A || id == 0x040B;
}

}  // namespace

PrivateFields operator|(const PrivateFields& a, const PrivateFields& b) {
    return {a.position || b.position, a.serial || b.serial, a.owner || b.owner};
}

QStringList PrivateFields::names() const {
    QStringList list;
    if (position) list << QStringLiteral("位置情報");
    if (serial) list << QStringLiteral("シリアル番号");
    if (owner) list << QStringLiteral("所有者名");
    return list;
}

QByteArray PrivacyFilter::filteredXmp(const QByteArray& payload) const {
    if (!payload.startsWith(JpegSegments::kXmpHeader)) return {};
    const QByteArray xml =
        XmpFilter(keepLocation_).filtered(payload.mid(JpegSegments::kXmpHeader.size()));
    return xml.isEmpty() ? QByteArray() : JpegSegments::kXmpHeader + xml;
}

QByteArray PrivacyFilter::filteredIptc(const QByteArray& payload) const {
    if (!payload.startsWith(kPhotoshopHeader)) return {};
    QByteArray out = kPhotoshopHeader;
    qsizetype at = kPhotoshopHeader.size();
    while (at + 12 <= payload.size()) {
        if (payload.mid(at, 4) != "8BIM") return {};
        const quint32 id = bigEndian(payload, at + 4, 2);
        const int nameBytes = (1 + uchar(payload[at + 6]) + 1) & ~1;
        const qsizetype sizeAt = at + 6 + nameBytes;
        if (sizeAt + 4 > payload.size()) return {};
        const qsizetype size = bigEndian(payload, sizeAt, 4);
        const qsizetype dataAt = sizeAt + 4;
        if (dataAt + size > payload.size()) return {};
        const QByteArray data = payload.mid(dataAt, size);
        at = dataAt + size + (size & 1);
        if (!keptResource(id)) continue;
        QByteArray kept = data;
        if (id == 0x0404) {
            kept.clear();
            if (!filterIim(data, kept)) return {};
            if (kept.isEmpty()) continue;
        }
        out += "8BIM" + bigEndianBytes(id, 2) + QByteArray("\0\0", 2) +
               bigEndianBytes(quint32(kept.size()), 4) + kept;
        if (kept.size() & 1) out += '\0';
    }
    return out.size() > kPhotoshopHeader.size() ? out : QByteArray();
}

JpegSegments PrivacyFilter::filtered(const JpegSegments& segments, int width, int height) const {
    JpegSegments kept;
    for (const JpegSegment& segment : segments.list) {
        QByteArray data;
        if (segment.marker == JpegSegments::kApp1 && segment.data.startsWith(kExifHeader)) {
            data = PhotoMetadata::publishedExif(segment.data, keepLocation_, width, height);
        } else if (segment.marker == JpegSegments::kApp1) {
            data = filteredXmp(segment.data);  // extended XMP and others are dropped
        } else if (segment.marker == 0xED) {
            data = filteredIptc(segment.data);
        } else if (JpegSegments::isIccChunk(segment) || segment.marker == JpegSegments::kComment) {
            data = segment.data;
        }
        if (!data.isEmpty()) kept.append(segment.marker, data);
    }
    return kept;
}

PrivateFields PrivacyFilter::find(const JpegSegments& segments) {
    PrivateFields found;
    for (const JpegSegment& segment : segments.list) {
        if (segment.marker != JpegSegments::kApp1) continue;
        if (segment.data.startsWith(kExifHeader)) {
            found = found | find(segment.data, {});
        } else if (segment.data.startsWith(JpegSegments::kXmpHeader)) {
            found = found | find({}, segment.data.mid(JpegSegments::kXmpHeader.size()));
        }
    }
    return found;
}

PrivateFields PrivacyFilter::find(const QByteArray& exif, const QByteArray& xmp) {
    PrivateFields found;
    if (!exif.isEmpty()) {
        const PhotoMetadata::Private fields = PhotoMetadata::privateFields(exif);
        found = PrivateFields{fields.position, fields.serial, fields.owner};
    }
    if (!xmp.isEmpty()) found = found | findInXmp(xmp);
    return found;
}

}  // namespace tessaly
