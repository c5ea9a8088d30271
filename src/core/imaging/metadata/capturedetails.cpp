#include "core/imaging/metadata/capturedetails.h"

#include <libexif/exif-data.h>

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <cmath>
#include <memory>

#include "core/imaging/metadata/exiforientation.h"

namespace tessaly {

namespace {

struct DataUnref {
    void operator()(ExifData* p) const { exif_data_unref(p); }
};

constexpr int kMarkerSOS = 0xDA;
constexpr int kMarkerEOI = 0xD9;
constexpr int kMarkerAPP1 = 0xE1;
constexpr int kMaxSegments = 64;  // a head holding more before its EXIF data has none for us

const ExifEntry* entryOf(ExifData* data, ExifIfd ifd, ExifTag tag) {
    const ExifEntry* entry = exif_content_get_entry(data->ifd[ifd], tag);
    return entry && entry->data && entry->size > 0 ? entry : nullptr;
}

QString textOf(ExifData* data, ExifIfd ifd, ExifTag tag) {
    const ExifEntry* entry = entryOf(data, ifd, tag);
    if (!entry || entry->format != EXIF_FORMAT_ASCII) return QString();
    const char* text = reinterpret_cast<const char*>(entry->data);
    return QString::fromLatin1(text, int(qstrnlen(text, entry->size))).trimmed();
}

// The first value of a RATIONAL entry; NaN when missing or undefined.
double rationalOf(ExifData* data, ExifIfd ifd, ExifTag tag) {
    const ExifEntry* entry = entryOf(data, ifd, tag);
    if (!entry || entry->format != EXIF_FORMAT_RATIONAL || entry->size < 8) return std::nan("");
    const ExifRational r = exif_get_rational(entry->data, exif_data_get_byte_order(data));
    return r.denominator == 0 ? std::nan("") : double(r.numerator) / r.denominator;
}

// "YYYY:MM:DD HH:MM:SS" as the camera wrote it.
QDateTime dateTimeOf(const QString& text) {
    const QDate date = QDate::fromString(text.left(10), QStringLiteral("yyyy:MM:dd"));
    const QTime time = QTime::fromString(text.mid(11, 8), QStringLiteral("HH:mm:ss"));
    if (!date.isValid() || !time.isValid()) return QDateTime();
    return QDateTime(date, time, Qt::UTC);
}

QDateTime takenOf(ExifData* data) {
    const std::pair<ExifIfd, ExifTag> fields[] = {{EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_ORIGINAL},
                                                  {EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_DIGITIZED},
                                                  {EXIF_IFD_0, EXIF_TAG_DATE_TIME}};
    for (const auto& [ifd, tag] : fields) {
        const QDateTime taken = dateTimeOf(textOf(data, ifd, tag));
        if (taken.isValid()) return taken;
    }
    return QDateTime();
}

// 18 -> "18", 4.5 -> "4.5".
QString shortNumber(double value) {
    QString text = QString::number(value, 'f', 1);
    if (text.endsWith(QLatin1String(".0"))) text.chop(2);
    return text;
}

QString exposureText(double seconds) {
    if (!(seconds > 0)) return QString();
    if (seconds < 1)
        return QStringLiteral("1/") + shortNumber(std::round(1 / seconds)) + QStringLiteral("秒");
    return shortNumber(seconds) + QStringLiteral("秒");
}

QString cameraOf(ExifData* data) {
    QStringList parts;
    parts << textOf(data, EXIF_IFD_0, EXIF_TAG_MODEL);
    const double focal = rationalOf(data, EXIF_IFD_EXIF, EXIF_TAG_FOCAL_LENGTH);
    if (focal > 0) parts << shortNumber(focal) + QStringLiteral("mm");
    parts << exposureText(rationalOf(data, EXIF_IFD_EXIF, EXIF_TAG_EXPOSURE_TIME));
    const double fNumber = rationalOf(data, EXIF_IFD_EXIF, EXIF_TAG_FNUMBER);
    if (fNumber > 0) parts << QStringLiteral("F") + QString::number(fNumber, 'f', 1);
    const ExifEntry* iso = entryOf(data, EXIF_IFD_EXIF, EXIF_TAG_ISO_SPEED_RATINGS);
    if (iso && iso->format == EXIF_FORMAT_SHORT && iso->size >= 2) {
        const int value = exif_get_short(iso->data, exif_data_get_byte_order(data));
        if (value > 0) parts << QStringLiteral("ISO") + QString::number(value);
    }
    parts.removeAll(QString());
    return parts.join(QLatin1Char(' '));
}

// The payload of the first APP1 segment holding EXIF data, from the markers before the scan.
QByteArray exifPayloadOf(QFile& file) {
    const QByteArray start = file.read(2);
    if (start != QByteArray("\xFF\xD8", 2)) return {};
    for (int i = 0; i < kMaxSegments; ++i) {
        const QByteArray head = file.read(4);
        if (head.size() < 4 || uchar(head[0]) != 0xFF) return {};
        const int marker = uchar(head[1]);
        if (marker == kMarkerSOS || marker == kMarkerEOI) return {};
        const int length = (uchar(head[2]) << 8) | uchar(head[3]);
        if (length < 2) return {};
        if (marker == kMarkerAPP1) {
            const QByteArray payload = file.read(length - 2);
            if (isExifPayload(reinterpret_cast<const unsigned char*>(payload.constData()),
                              std::size_t(payload.size()))) {
                return payload;
            }
        } else if (!file.seek(file.pos() + length - 2)) {
            return {};
        }
    }
    return {};
}

}  // namespace

CaptureDetails CaptureDetails::fromExifPayload(const unsigned char* payload, std::size_t size) {
    CaptureDetails details;
    if (!isExifPayload(payload, size) || size > 0xFFFF) return details;
    std::unique_ptr<ExifData, DataUnref> data(exif_data_new());
    if (!data) return details;
    // Read the data as it stands: no entries added or fixed, no maker notes interpreted.
    exif_data_unset_option(data.get(), EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    exif_data_set_option(data.get(), EXIF_DATA_OPTION_DONT_CHANGE_MAKER_NOTE);
    exif_data_load_data(data.get(), payload, static_cast<unsigned int>(size));
    details.taken = takenOf(data.get());
    details.camera = cameraOf(data.get());
    return details;
}

CaptureDetails CaptureDetails::read(const QString& jpegPath) {
    QFile file(jpegPath);
    // Only a regular file: a device or a pipe under a photograph's name would never end.
    if (!QFileInfo(jpegPath).isFile() || !file.open(QIODevice::ReadOnly)) return CaptureDetails();
    const QByteArray payload = exifPayloadOf(file);
    return fromExifPayload(reinterpret_cast<const unsigned char*>(payload.constData()),
                           std::size_t(payload.size()));
}

}  // namespace tessaly
