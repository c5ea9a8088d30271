#include "core/imaging/metadata/capturedetails.h"

#include <QFile>
#include <QFileInfo>

#include "core/imaging/jpeg/jpegscanner.h"
#include "core/imaging/metadata/exifblock.h"

namespace tessaly {

namespace {

constexpr int kMarkerAPP1 = 0xE1;

// The payload of the first APP1 segment holding EXIF data, from the markers before the scan.
QByteArray exifPayloadOf(QFile& file) {
    JpegScanner scanner(file);
    while (const std::optional<JpegMarkerSegment> segment = scanner.next()) {
        if (segment->marker != kMarkerAPP1) continue;
        const QByteArray payload = scanner.payload(*segment);
        if (ExifBlock::isExifPayload(reinterpret_cast<const unsigned char*>(payload.constData()),
                                     std::size_t(payload.size()))) {
            return payload;
        }
    }
    return {};
}

}  // namespace

CaptureDetails CaptureDetails::fromExifPayload(const unsigned char* payload, std::size_t size) {
    CaptureDetails details;
    if (!ExifBlock::isExifPayload(payload, size) || size > 0xFFFF) return details;
    const ExifBlock block(QByteArray(reinterpret_cast<const char*>(payload), qsizetype(size)));
    details.taken = block.taken();
    details.camera = block.camera();
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
