#include "core/catalog/thumbnailwork.h"

#include <QFileInfo>

#include "core/catalog/decodebudget.h"
#include "core/imaging/metadata/privacyfilter.h"
#include "core/text/errors.h"

namespace tessaly {

bool thumbnailUpToDate(const QString& thumbPath, const QString& sourcePath) {
    const QFileInfo thumb(thumbPath);
    return thumb.exists() && thumb.lastModified() >= QFileInfo(sourcePath).lastModified();
}

namespace {

bool carriesPosition(const QByteArray& fileStart) {
    try {
        return PrivacyFilter::find(JpegImage::readSegments(fileStart)).position;
    } catch (const Error&) {
        return false;  // the decode reports what is wrong with the file
    }
}

void makeThumbnailOnly(const ThumbnailJob& job, const ThumbnailBox& box, bool skipExisting,
                       DecodeBudget* budget, ThumbnailMaker& maker, ThumbnailResult& result);

// The web copy, from the file the thumbnail read when it kept it.
void makeCopy(const ThumbnailJob& job, DecodeBudget* budget, const ThumbnailMaker& maker,
              ThumbnailResult& result) {
    if (WebCopy::upToDate(job.copyPath, job.sourcePath, job.copyPolicyKept)) return;
    try {
        QByteArray file = maker.wholeFile();
        if (file.isEmpty()) file = JpegImage::readFile(job.sourcePath);
        int w = 0, h = 0;
        WebCopy::copySize(result.imageWidth, result.imageHeight, job.copyPolicy.longSide, w, h);
        const DecodeBudget::Admission admission(budget, file.size() + qint64(w) * h * 12);
        if (!admission) throw ImageError(QStringLiteral("the run was stopped"));
        WebCopy::make(file, job.copyOutput, job.copyPolicy);
        result.copyMade = true;
    } catch (...) {
        result.copyError = std::current_exception();
    }
}

}  // namespace

ThumbnailResult makeThumbnail(const ThumbnailJob& job, const ThumbnailBox& box, bool skipExisting,
                              DecodeBudget* budget, ThumbnailMaker::Decoding decoding) {
    ThumbnailResult result;
    ThumbnailMaker maker(decoding);
    maker.keepWholeFile(!job.copyPath.isEmpty());
    makeThumbnailOnly(job, box, skipExisting, budget, maker, result);
    if (!job.copyPath.isEmpty() && !result.loadError && !result.saveError) {
        makeCopy(job, budget, maker, result);
    }
    return result;
}

namespace {

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
    if (job.checkPosition) result.position = carriesPosition(maker.fileStart());
    if (skipExisting && thumbnailUpToDate(job.thumbPath, job.sourcePath)) {
        result.skipped = true;
        return;
    }
    try {
        const DecodeBudget::Admission admission(budget, maker.scaleBytes(box));
        if (!admission) throw ImageError(QStringLiteral("the run was stopped"));
        result.method = maker.scale(box);
        result.imageWidth = maker.imageWidth();
        result.imageHeight = maker.imageHeight();
    } catch (...) {
        result.loadError = std::current_exception();
        return;
    }
    try {
        maker.save(job.outputPath, box.quality);
        result.preview = maker.picture();
    } catch (...) {
        result.saveError = std::current_exception();
    }
}

}  // namespace

}  // namespace tessaly
