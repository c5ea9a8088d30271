#include "core/catalog/thumbnailwork.h"

#include <QFileInfo>
#include <algorithm>
#include <optional>

#include "core/imaging/metadata/privacyfilter.h"
#include "core/imaging/reader/photoreader.h"
#include "core/text/errors.h"
#include "core/work/decodebudget.h"

namespace tessaly {

bool thumbnailUpToDate(const QString& thumbPath, const QString& sourcePath) {
    const QFileInfo thumb(thumbPath);
    return thumb.exists() && thumb.lastModified() >= QFileInfo(sourcePath).lastModified();
}

ThumbnailBox doubledBox(const ThumbnailBox& box) {
    return ThumbnailBox{box.width * 2, box.height * 2, box.quality, box.filter};
}

namespace {

bool carriesPosition(const QByteArray& fileStart) {
    try {
        return PrivacyFilter::find(JpegImage::readSegments(fileStart)).position;
    } catch (const Error&) {
        return false;  // the decode reports what is wrong with the file
    }
}

// The web copy, from the file the thumbnail read when it kept it.
void makeWebCopy(const ThumbnailJob& job, DecodeBudget* budget, const ThumbnailMaker& maker,
                 ThumbnailResult& result) {
    result.webCopy = true;
    if (WebCopy::upToDate(job.webCopyPath, job.sourcePath, job.webCopyPolicyKept)) return;
    try {
        QByteArray file = maker.wholeFile();
        if (file.isEmpty()) file = JpegImage::readFile(job.sourcePath);
        int w = 0, h = 0;
        WebCopy::copySize(result.imageWidth, result.imageHeight, job.webCopyPolicy.longSide, w, h);
        const DecodeBudget::Admission admission(budget, file.size() + qint64(w) * h * 12);
        if (!admission) throw ImageError(QStringLiteral("the run was stopped"));
        WebCopy::make(file, job.webCopyOutput, job.webCopyPolicy);
        result.webCopyMade = true;
    } catch (...) {
        result.webCopyError = std::current_exception();
    }
}

// Scales the open photograph and saves the thumbnail (and the double one at twice the box when
// the job asks for it), keeping failures in the result.
void scaleAndSave(ThumbnailMaker& maker, const ThumbnailJob& job, const ThumbnailBox& box,
                  ThumbnailResult& result) {
    const bool twice = !job.doublePath.isEmpty();
    PixelImage larger;
    try {
        result.method = twice ? maker.scaleTwice(box, doubledBox(box), larger) : maker.scale(box);
        result.imageWidth = maker.imageWidth();
        result.imageHeight = maker.imageHeight();
    } catch (...) {
        result.loadError = std::current_exception();
        return;
    }
    try {
        maker.save(job.outputPath, box.quality);
        if (twice) maker.saveOther(larger, job.doubleOutputPath, box.quality);
        result.preview = maker.picture();
    } catch (...) {
        result.saveError = std::current_exception();
    }
}

// Decodes a photograph of another format whole and writes what is made of that picture before
// the thumbnail replaces it: its JPEG copy, its web copy. False when the photograph goes no
// further (the failure is in the result).
bool fromWholePicture(ThumbnailMaker& maker, const ThumbnailJob& job, bool copy, bool webCopy,
                      ThumbnailResult& result) {
    try {
        maker.decodeWhole();
    } catch (...) {
        result.loadError = std::current_exception();
        return false;
    }
    if (copy) {
        try {
            maker.saveCopy(job.copyPath, kBrowserCopyQuality);
        } catch (...) {
            result.saveError = std::current_exception();
            return false;
        }
    }
    if (webCopy) {
        try {
            WebCopy::makeFromPicture(maker.picture(), maker.reader()->exif(),
                                     maker.reader()->iccProfile(), job.webCopyOutput,
                                     job.webCopyPolicy);
            result.webCopyMade = true;
        } catch (...) {
            result.webCopyError = std::current_exception();
        }
    }
    return true;
}

void makeThumbnailOnly(const ThumbnailJob& job, const ThumbnailBox& box, bool skipExisting,
                       DecodeBudget* budget, ThumbnailMaker& maker, ThumbnailResult& result) {
    try {
        maker.open(job.sourcePath);
        result.imageWidth = maker.imageWidth();
        result.imageHeight = maker.imageHeight();
    } catch (...) {
        result.loadError = std::current_exception();
        return;
    }
    const bool copy = !job.copyPath.isEmpty() && maker.otherFormat();
    // Another format's web copy comes from the whole decode its thumbnail is made from.
    result.webCopy = !job.webCopyPath.isEmpty() && maker.otherFormat();
    const bool webCopy = result.webCopy &&
                         !WebCopy::upToDate(job.webCopyPath, job.sourcePath, job.webCopyPolicyKept);
    if (job.checkPosition && !copy) {  // the page links the photograph itself
        result.position =
            maker.otherFormat()
                ? PrivacyFilter::find(maker.reader()->exif(), maker.reader()->xmp()).position
                : carriesPosition(maker.fileStart());
    }
    const bool twice = !job.doublePath.isEmpty();
    if (skipExisting && !webCopy && thumbnailUpToDate(job.thumbPath, job.sourcePath) &&
        (!copy || thumbnailUpToDate(job.copyPath, job.sourcePath)) &&
        (!twice || thumbnailUpToDate(job.doublePath, job.sourcePath))) {
        result.skipped = true;
        return;
    }
    std::optional<DecodeBudget::Admission> admission;
    try {
        qint64 bytes = twice ? maker.scaleTwiceBytes(box, doubledBox(box)) : maker.scaleBytes(box);
        if (copy || webCopy) bytes = std::max(bytes, maker.wholeDecodeBytes());
        if (webCopy) {
            bytes += WebCopy::pictureCopyBytes(result.imageWidth, result.imageHeight,
                                               job.webCopyPolicy.longSide);
        }
        admission.emplace(budget, bytes);
        if (!*admission) throw ImageError(QStringLiteral("the run was stopped"));
    } catch (...) {
        result.loadError = std::current_exception();
        return;
    }
    if ((copy || webCopy) && !fromWholePicture(maker, job, copy, webCopy, result)) return;
    scaleAndSave(maker, job, box, result);
}

}  // namespace

ThumbnailResult makeThumbnail(const ThumbnailJob& job, const ThumbnailBox& box, bool skipExisting,
                              DecodeBudget* budget, ThumbnailMaker::Decoding decoding,
                              bool allFormats) {
    ThumbnailResult result;
    ThumbnailMaker maker(decoding, allFormats);
    maker.keepWholeFile(!job.webCopyPath.isEmpty());
    makeThumbnailOnly(job, box, skipExisting, budget, maker, result);
    if (!job.webCopyPath.isEmpty() && !maker.otherFormat() && !result.loadError &&
        !result.saveError) {
        makeWebCopy(job, budget, maker, result);
    }
    return result;
}

}  // namespace tessaly
