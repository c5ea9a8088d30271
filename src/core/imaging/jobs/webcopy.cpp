#include "core/imaging/jobs/webcopy.h"

#include <QFileInfo>
#include <algorithm>

#include "core/imaging/jpeg/jpegimage.h"
#include "core/imaging/metadata/privacyfilter.h"
#include "core/imaging/pixels/thumbnailfilters.h"

namespace tessaly {

const char* const WebCopy::kFolderName = "web";
const char* const WebCopy::kRecordName = "copies.txt";

namespace {

int side(int value, int eighths) { return int((qint64(value) * eighths + 7) / 8); }

int clampedSide(int longSide) {
    return std::clamp(longSide, WebCopy::kMinLongSide, WebCopy::kMaxLongSide);
}

}  // namespace

QString WebCopyPolicy::recordLine() const {
    return QStringLiteral("%1 %2 %3")
        .arg(longSide)
        .arg(keepLocation ? QStringLiteral("keep") : QStringLiteral("remove"))
        .arg(quality);
}

QString WebCopy::copyName(const QString& photoName) {
    const QString suffix = QFileInfo(photoName).suffix().toLower();
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg")) return photoName;
    const int dot = int(photoName.lastIndexOf(QLatin1Char('.')));
    return (dot > 0 ? photoName.left(dot) : photoName) + QStringLiteral(".jpg");
}

int WebCopy::decodeEighths(int w, int h, int longSide) {
    const int target = clampedSide(longSide);
    const int longer = std::max(w, h);
    for (int eighths = 1; eighths < 8; ++eighths) {
        if (side(longer, eighths) >= target) return eighths;
    }
    return 8;
}

void WebCopy::copySize(int w, int h, int longSide, int& copyWidth, int& copyHeight) {
    const int target = clampedSide(longSide);
    copyWidth = w;
    copyHeight = h;
    if (std::max(w, h) <= target) return;
    const int eighths = decodeEighths(w, h, target);
    const int dw = side(w, eighths), dh = side(h, eighths);
    copyWidth = dw;
    copyHeight = dh;
    if (std::max(dw, dh) > target) averageReduceSize(dw, dh, target, target, copyWidth, copyHeight);
}

void WebCopy::make(const QByteArray& photo, const QString& outputPath,
                   const WebCopyPolicy& policy) {
    const JpegHeader header = JpegImage::readHeader(photo);
    const int target = clampedSide(policy.longSide);
    JpegImage decoded;
    decoded.loadFromData(photo, decodeEighths(header.width(), header.height(), target));
    PixelImage picture = decoded.picture();
    decoded.clear();
    const int w = picture.width(), h = picture.height();
    if (std::max(w, h) > target) averageReduce(picture, w, h, target, target);
    JpegImage copy;
    copy.Assign(picture);
    copy.setCompressionQuality(policy.quality);
    const JpegSegments segments = JpegImage::readSegments(photo);
    copy.setSegments(PrivacyFilter(policy.keepLocation)
                         .filtered(segments, copy.picture().width(), copy.picture().height()));
    copy.saveToFile(outputPath);
}

bool WebCopy::upToDate(const QString& copyPath, const QString& photoPath, bool policyKept) {
    if (!policyKept) return false;
    const QFileInfo copy(copyPath);
    return copy.isFile() && copy.lastModified() >= QFileInfo(photoPath).lastModified();
}

}  // namespace tessaly
