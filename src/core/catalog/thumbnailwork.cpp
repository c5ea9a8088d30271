#include "core/catalog/thumbnailwork.h"

#include <QFileInfo>

#include "core/catalog/decodebudget.h"
#include "core/text/errors.h"

namespace tessaly {

bool thumbnailUpToDate(const QString& thumbPath, const QString& sourcePath) {
    const QFileInfo thumb(thumbPath);
    return thumb.exists() && thumb.lastModified() >= QFileInfo(sourcePath).lastModified();
}

ThumbnailBox doubledBox(const ThumbnailBox& box) {
    return ThumbnailBox{box.width * 2, box.height * 2, box.quality, box.filter};
}

ThumbnailResult makeThumbnail(const ThumbnailJob& job, const ThumbnailBox& box, bool skipExisting,
                              DecodeBudget* budget, ThumbnailMaker::Decoding decoding) {
    ThumbnailResult result;
    ThumbnailMaker maker(decoding);
    try {
        maker.open(job.sourcePath);
        result.imageWidth = maker.imageWidth();
        result.imageHeight = maker.imageHeight();
    } catch (...) {
        result.loadError = std::current_exception();
        return result;
    }
    const bool twice = !job.doublePath.isEmpty();
    if (skipExisting && thumbnailUpToDate(job.thumbPath, job.sourcePath) &&
        (!twice || thumbnailUpToDate(job.doublePath, job.sourcePath))) {
        result.skipped = true;
        return result;
    }
    PixelImage larger;
    try {
        const ThumbnailBox large = doubledBox(box);
        const qint64 bytes = maker.scaleBytes(box) + (twice ? maker.scaleBytes(large) : 0);
        const DecodeBudget::Admission admission(budget, bytes);
        if (!admission) throw ImageError(QStringLiteral("the run was stopped"));
        result.method = twice ? maker.scaleTwice(box, large, larger) : maker.scale(box);
        result.imageWidth = maker.imageWidth();
        result.imageHeight = maker.imageHeight();
    } catch (...) {
        result.loadError = std::current_exception();
        return result;
    }
    try {
        maker.save(job.outputPath, box.quality);
        if (twice) maker.saveOther(larger, job.doubleOutputPath, box.quality);
        result.preview = maker.picture();
    } catch (...) {
        result.saveError = std::current_exception();
    }
    return result;
}

}  // namespace tessaly
