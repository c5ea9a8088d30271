#include "core/imaging/reader/photoreader.h"

#include <QFile>
#include <QFileInfo>

#include "core/imaging/metadata/capturedetails.h"
#include "core/imaging/metadata/exiforientation.h"
#include "core/text/textfile.h"

namespace tessaly {

namespace {

QByteArray headOf(const QString& path) {
    QFile file(path);
    // Only a regular file: a device or a pipe under a photograph's name would never end.
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        throw IoError(cannotOpenMessage(path));
    }
    return file.read(32);
}

}  // namespace

qint64 PhotoReader::decodeBytes() const { return 8 * qint64(width_) * height_; }

void PhotoReader::takeXmp(const QByteArray& xmp) {
    xmp_ = xmp.size() <= kMaxXmpBytes ? xmp : QByteArray();
}

void PhotoReader::takeExif(const QByteArray& exif, bool useOrientation) {
    exif_ = exif;
    if (exif.isEmpty()) return;
    const auto* bytes = reinterpret_cast<const unsigned char*>(exif.constData());
    const CaptureDetails details = CaptureDetails::fromExifPayload(bytes, size_t(exif.size()));
    taken_ = details.taken;
    camera_ = details.camera;
    if (useOrientation) orientation_ = exifOrientation(bytes, size_t(exif.size()));
}

void PhotoReader::setStoredSize(int width, int height) {
    width_ = orientation_ >= 5 ? height : width;
    height_ = orientation_ >= 5 ? width : height;
}

std::unique_ptr<PhotoReader> openPhotoReader(const QString& path) {
    const QByteArray head = headOf(path);
    const PhotoFormatRow* row = photoFormatByContent(head);
    if (!row && !hasJpegExtension(QFileInfo(path).fileName())) {
        throw PhotoFormatError(QFileInfo(path).fileName() + QStringLiteral(": ") +
                                   cataloguedFormatNames() +
                                   QStringLiteral(" のどの形式の画像でもないため読み込めません"),
                               head.isEmpty() ? QStringLiteral("empty file")
                                              : QStringLiteral("unknown file signature"));
    }
    // What is none of them under a JPEG name: the JPEG reader's messages say so.
    return (row ? *row : photoFormatRow(PhotoFormat::Jpeg)).open(path);
}

PhotoFormatError photoFileError(const QString& path, const QString& format, const QString& detail) {
    return PhotoFormatError(
        QFileInfo(path).fileName() + QStringLiteral(": ") + format +
            QStringLiteral(" 画像が壊れているか、途中で切れているため読み込めません"),
        detail);
}

QByteArray readPhotoFile(const QString& path, const QString& format) {
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        throw IoError(cannotOpenMessage(path));
    }
    // The compressed file is smaller than its pixels: a larger one is refused before reading.
    if (file.size() > kMaxImageBytes) {
        throw PhotoFormatError(
            QFileInfo(path).fileName() + QStringLiteral(": 画像が大きすぎるため読み込めません"),
            format + QStringLiteral(" file is too large"));
    }
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) throw IoError(cannotOpenMessage(path));
    return data;
}

PixelImage overWhite(const uchar* rgba, int width, int height, qsizetype stride) {
    PixelImage picture = PixelImage::unfilled(width, -height, PixelFormat::Bgr24);
    for (int y = 0; y < height; ++y) {
        const uchar* from = rgba + y * stride;
        uchar* to = picture.scanLine(y);
        for (int x = 0; x < width; ++x, from += 4, to += 3) {
            const unsigned a = from[3], white = 255 * (255 - a);
            to[0] = uchar((from[2] * a + white + 127) / 255);
            to[1] = uchar((from[1] * a + white + 127) / 255);
            to[2] = uchar((from[0] * a + white + 127) / 255);
        }
    }
    return picture;
}

}  // namespace tessaly
