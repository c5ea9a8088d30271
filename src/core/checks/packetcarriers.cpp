#include "core/checks/packetcarriers.h"

#include <libexif/exif-data.h>

#include <QRegularExpression>
#include <QXmlStreamReader>
#include <algorithm>
#include <memory>
#include <vector>

namespace tessaly {

namespace {

const QByteArray kExifHeader("Exif\0\0", 6);
const QByteArray kPhotoshopHeader("Photoshop 3.0\0", 14);
const QByteArray kPanasonicHeader("Panasonic\0\0\0", 12);

constexpr ExifTag kXmpTag = ExifTag(0x02BC);
constexpr ExifTag kPhotoshopTag = ExifTag(0x8649);
constexpr ExifTag kMakerNoteTag = ExifTag(0x927C);
constexpr ExifTag kOwnerTag = ExifTag(0xA430);
constexpr ExifTag kSerialTags[] = {ExifTag(0xA431), ExifTag(0xA435), ExifTag(0xC62F)};
// Panasonic's internal, lens and accessory serial numbers.
constexpr quint16 kPanasonicSerialTags[] = {0x0025, 0x0052, 0x0054};

struct ExifRelease {
    void operator()(ExifData* p) const { exif_data_unref(p); }
};

// A value that says something: not empty, not only blanks, zeros or NULs.
bool tells(const QByteArray& value) {
    for (const char c : value) {
        if (c != '\0' && c != ' ' && c != '0') return true;
    }
    return false;
}

QByteArray bytesOf(const ExifEntry* entry) {
    return QByteArray(reinterpret_cast<const char*>(entry->data), qsizetype(entry->size));
}

void note(PrivateFields& found, const PrivateFields& more) { found = found | more; }

quint32 number(const QByteArray& data, qsizetype at, int bytes, bool little) {
    quint32 value = 0;
    for (int i = 0; i < bytes; ++i) {
        const quint32 byte = quint8(data[at + (little ? bytes - 1 - i : i)]);
        value = value << 8 | byte;
    }
    return value;
}

// Panasonic's maker note: its header and then an IFD whose offsets count from the TIFF
// header, which libexif does not read.
bool panasonicSerial(const QByteArray& tiff, const QByteArray& note, bool little) {
    const qsizetype start = tiff.indexOf(note);
    if (!note.startsWith(kPanasonicHeader) || start < 0) return false;
    const qsizetype ifd = start + kPanasonicHeader.size();
    if (ifd + 2 > tiff.size()) return false;
    const quint32 count = number(tiff, ifd, 2, little);
    for (quint32 i = 0; i < count && ifd + 2 + 12 * (i + 1) <= tiff.size(); ++i) {
        const qsizetype entry = ifd + 2 + 12 * qsizetype(i);
        const quint16 tag = quint16(number(tiff, entry, 2, little));
        const quint32 size = number(tiff, entry + 4, 4, little);  // bytes: ASCII or undefined
        if (std::find(std::begin(kPanasonicSerialTags), std::end(kPanasonicSerialTags), tag) ==
            std::end(kPanasonicSerialTags)) {
            continue;
        }
        const qsizetype at = size <= 4 ? entry + 8 : number(tiff, entry + 8, 4, little);
        if (tells(tiff.mid(at, qMin<qsizetype>(size, 256)))) return true;
    }
    return false;
}

// The owner and serial entries of the maker notes libexif reads (Canon, Fuji, Olympus,
// Nikon, Pentax, Casio, Apple and the makers sharing their formats).
PrivateFields makerNotes(ExifData* data) {
    PrivateFields found;
    ExifMnoteData* notes = exif_data_get_mnote_data(data);
    if (!notes) return found;
    for (unsigned int i = 0, count = exif_mnote_data_count(notes); i < count; ++i) {
        const char* name = exif_mnote_data_get_name(notes, i);
        if (!name) continue;
        const QByteArray lower = QByteArray(name).toLower();
        // Not the tags saying how a serial number is written ("SerialNumberFormat").
        const bool serial = lower.contains("serial") && !lower.endsWith("format");
        const bool owner = lower.contains("owner");
        if (!serial && !owner) continue;
        char value[256] = {};
        if (!exif_mnote_data_get_value(notes, i, value, sizeof value) || !tells(value)) continue;
        found.serial = found.serial || serial;
        found.owner = found.owner || owner;
    }
    return found;
}

PrivateFields entryCarries(ExifEntry* entry, ExifIfd ifd, const QByteArray& tiff, bool little) {
    PrivateFields found;
    const QByteArray value = bytesOf(entry);
    if (ifd == EXIF_IFD_GPS) {
        found.position =
            entry->components > 0 &&
            (entry->tag == EXIF_TAG_GPS_LATITUDE || entry->tag == EXIF_TAG_GPS_LONGITUDE ||
             entry->tag == ExifTag(0x0014) || entry->tag == ExifTag(0x0016));
        return found;
    }
    if (entry->tag == kOwnerTag) found.owner = tells(value);
    for (const ExifTag tag : kSerialTags)
        found.serial = found.serial || (entry->tag == tag && tells(value));
    if (entry->tag == kXmpTag) note(found, PacketCarriers::xmp(value));
    if (entry->tag == kPhotoshopTag) note(found, PacketCarriers::photoshop(value));
    if (entry->tag == kMakerNoteTag) found.serial = panasonicSerial(tiff, value, little);
    return found;
}

}  // namespace

PrivateFields PacketCarriers::exif(const QByteArray& block) {
    if (block.isEmpty()) return {};
    const QByteArray whole = block.startsWith(kExifHeader) ? block : kExifHeader + block;
    std::unique_ptr<ExifData, ExifRelease> data(exif_data_new());
    if (!data) return {};
    exif_data_unset_option(data.get(), EXIF_DATA_OPTION_IGNORE_UNKNOWN_TAGS);
    exif_data_unset_option(data.get(), EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    exif_data_load_data(data.get(), reinterpret_cast<const unsigned char*>(whole.constData()),
                        unsigned(whole.size()));
    const QByteArray tiff = whole.mid(kExifHeader.size());
    const bool little = exif_data_get_byte_order(data.get()) == EXIF_BYTE_ORDER_INTEL;
    PrivateFields found = makerNotes(data.get());
    for (int ifd = 0; ifd < EXIF_IFD_COUNT; ++ifd) {
        const ExifContent* content = data->ifd[ifd];
        for (unsigned int i = 0; content && i < content->count; ++i) {
            note(found, entryCarries(content->entries[i], ExifIfd(ifd), tiff, little));
        }
    }
    return found;
}

PrivateFields PacketCarriers::xmp(const QByteArray& xml) {
    const auto kindOf = [](QStringView name) {
        PrivateFields kind;
        kind.position = name.contains(QLatin1String("Latitude"), Qt::CaseInsensitive) ||
                        name.contains(QLatin1String("Longitude"), Qt::CaseInsensitive);
        kind.serial = name.endsWith(QLatin1String("SerialNumber"), Qt::CaseInsensitive);
        kind.owner = name.endsWith(QLatin1String("OwnerName"), Qt::CaseInsensitive);
        return kind;
    };
    PrivateFields found;
    std::vector<PrivateFields> open;  // what each open element's name tells
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::StartElement) {
            open.push_back(kindOf(reader.name()));
            for (const QXmlStreamAttribute& attribute : reader.attributes()) {
                if (!attribute.value().trimmed().isEmpty()) note(found, kindOf(attribute.name()));
            }
        } else if (token == QXmlStreamReader::EndElement && !open.empty()) {
            open.pop_back();
        } else if (token == QXmlStreamReader::Characters && !reader.isWhitespace()) {
            for (const PrivateFields& kind : open) note(found, kind);
        }
    }
    if (reader.hasError()) {
        // What a damaged packet still shows: a named property with a value.
        static const QRegularExpression property(
            QStringLiteral("(Latitude|Longitude|SerialNumber|OwnerName)\\s*(=\\s*[\"'][^\"'\\s]|>"
                           "\\s*[^<\\s])"),
            QRegularExpression::CaseInsensitiveOption);
        for (auto match = property.globalMatch(QString::fromUtf8(xml)); match.hasNext();) {
            note(found, kindOf(match.next().captured(1)));
        }
    }
    return found;
}

PrivateFields PacketCarriers::photoshop(const QByteArray& resources) {
    PrivateFields found;
    qsizetype at = resources.startsWith(kPhotoshopHeader) ? kPhotoshopHeader.size() : 0;
    while (at + 12 <= resources.size() && resources.mid(at, 4) == "8BIM") {
        const quint32 id = number(resources, at + 4, 2, false);
        const qsizetype nameBytes = (quint8(resources[at + 6]) + 2) & ~qsizetype(1);
        const qsizetype sizeAt = at + 6 + nameBytes;
        if (sizeAt + 4 > resources.size()) break;
        const qsizetype size = number(resources, sizeAt, 4, false);
        const QByteArray data = resources.mid(sizeAt + 4, size);
        if (id == 0x0422 || id == 0x0423) note(found, exif(data));
        if (id == 0x0424) note(found, xmp(data));
        at = sizeAt + 4 + ((size + 1) & ~qsizetype(1));
    }
    return found;
}

PrivateFields PacketCarriers::rawProfile(const QByteArray& text) {
    const QList<QByteArray> words = text.simplified().split(' ');
    if (words.size() < 3) return {};
    const QByteArray type = words[0].toLower();
    bool ok = false;
    const qsizetype length = words[1].toLongLong(&ok);
    if (!ok) return {};
    const QByteArray profile = QByteArray::fromHex(words.mid(2).join()).left(length);
    if (type == "xmp") return xmp(profile);
    if (type == "iptc" || type == "8bim") return photoshop(profile);
    if (profile.startsWith(kExifHeader) || type == "exif") return exif(profile);
    if (profile.contains("<x:xmpmeta") || profile.contains("rdf:RDF")) {
        return xmp(profile.mid(profile.indexOf('<')));
    }
    return {};
}

}  // namespace tessaly
