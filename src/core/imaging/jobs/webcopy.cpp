#include "core/imaging/jobs/webcopy.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>

#include "core/imaging/jpeg/jpegimage.h"
#include "core/imaging/metadata/photometadata.h"
#include "core/imaging/metadata/privacyfilter.h"
#include "core/imaging/pixels/bilinearresize.h"
#include "core/imaging/pixels/thumbnailfilters.h"
#include "core/imaging/reader/photoformats.h"

namespace tessaly {

const char* const WebCopy::kFolderName = "web";
const char* const WebCopy::kRecordName = "copies.txt";

namespace {

int side(int value, int eighths) { return int((qint64(value) * eighths + 7) / 8); }

int clampedSide(int longSide) {
    return std::clamp(longSide, WebCopy::kMinLongSide, WebCopy::kMaxLongSide);
}

// The copy is coded in colour: a profile of another colour space (grey, CMYK) would not fit it,
// and the copy goes without.
JpegSegments rgbProfileOnly(const JpegSegments& segments) {
    if (segments.iccProfile().mid(16, 4) == "RGB ") return segments;
    JpegSegments kept;
    for (const JpegSegment& segment : segments.list) {
        if (!JpegSegments::isIccChunk(segment)) kept.list.push_back(segment);
    }
    return kept;
}

// The picture at cw x ch: a large reduction averages areas first, the last step is a small one.
PixelImage fitted(PixelImage picture, int cw, int ch) {
    int w = picture.width(), h = picture.height();
    if (std::max(w, h) >= 2 * std::max(cw, ch)) {
        averageReduce(picture, w, h, cw, ch);
        w = picture.width();
        h = picture.height();
    }
    if (w != cw || h != ch) picture = bilinearResize(picture, cw, ch);
    return picture;
}

}  // namespace

QString WebCopyPolicy::recordLine() const {
    return QStringLiteral("%1 %2 %3")
        .arg(longSide)
        .arg(keepLocation ? QStringLiteral("keep") : QStringLiteral("remove"))
        .arg(quality);
}

QString WebCopy::copyName(const QString& photoName) {
    if (hasJpegExtension(photoName)) return photoName;
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
    const auto shorter = [target](int side, int longer) {
        return std::max(1, int(std::lround(double(side) * target / longer)));
    };
    copyWidth = w >= h ? target : shorter(w, h);
    copyHeight = w >= h ? shorter(h, w) : target;
}

void WebCopy::make(const QByteArray& photo, const QString& outputPath,
                   const WebCopyPolicy& policy) {
    const JpegHeader header = JpegImage::readHeader(photo);
    int cw = 0, ch = 0;
    copySize(header.width(), header.height(), policy.longSide, cw, ch);
    JpegImage decoded;
    decoded.loadScaledFromData(photo,
                               decodeEighths(header.width(), header.height(), policy.longSide));
    PixelImage picture = decoded.picture();
    decoded.clear();
    picture = fitted(std::move(picture), cw, ch);
    JpegImage copy;
    copy.Assign(picture);
    copy.setCompressionQuality(policy.quality);
    copy.setSegments(rgbProfileOnly(
        PrivacyFilter(policy.keepLocation).filtered(JpegImage::readSegments(photo), cw, ch)));
    copy.saveToFile(outputPath);
}

void WebCopy::makeFromPicture(const PixelImage& picture, const QByteArray& exif,
                              const QByteArray& iccProfile, const QString& outputPath,
                              const WebCopyPolicy& policy) {
    const int w = picture.width(), h = picture.height();
    int cw = 0, ch = 0;
    copySize(w, h, policy.longSide, cw, ch);
    // The picture stays the thumbnail's: only an area reduction works on a copy of it.
    const bool averages = std::max(w, h) >= 2 * std::max(cw, ch);
    const PixelImage resized = averages || (w == cw && h == ch) ? fitted(picture, cw, ch)
                                                                : bilinearResize(picture, cw, ch);
    JpegSegments segments;
    const QByteArray published =
        exif.isEmpty() ? QByteArray()
                       : PhotoMetadata::publishedExif(exif, policy.keepLocation, cw, ch);
    if (!published.isEmpty()) segments.append(JpegSegments::kApp1, published);
    for (const JpegSegment& chunk : JpegSegments::fromIccProfile(iccProfile).list)
        segments.list.push_back(chunk);
    JpegImage copy;
    copy.Assign(resized);
    copy.setCompressionQuality(policy.quality);
    copy.setSegments(rgbProfileOnly(segments));
    copy.saveToFile(outputPath);
}

qint64 WebCopy::pictureCopyBytes(int w, int h, int longSide) {
    int cw = 0, ch = 0;
    copySize(w, h, longSide, cw, ch);
    return 3 * qint64(w) * h + 12 * qint64(cw) * ch;
}

bool WebCopy::upToDate(const QString& copyPath, const QString& photoPath, bool policyKept) {
    if (!policyKept) return false;
    const QFileInfo copy(copyPath);
    return copy.isFile() && copy.lastModified() >= QFileInfo(photoPath).lastModified();
}

}  // namespace tessaly
