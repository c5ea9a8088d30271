#include "core/catalog/thumbnailwork.h"

#include <QFileInfo>

#include "core/catalog/decodebudget.h"
#include "core/text/errors.h"

namespace tessaly {

bool thumbnailUpToDate(const QString& thumbPath, const QString& sourcePath) {
    const QFileInfo thumb(thumbPath);
    return thumb.exists() && thumb.lastModified() >= QFileInfo(sourcePath).lastModified();
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
    if (skipExisting && thumbnailUpToDate(job.thumbPath, job.sourcePath)) {
        result.skipped = true;
        return result;
    }
    try {
        const DecodeBudget::Admission admission(budget, maker.scaleBytes(box));
        if (!admission) throw ImageError(QStringLiteral("the run was stopped"));
        result.method = maker.scale(box);
        result.imageWidth = maker.imageWidth();
        result.imageHeight = maker.imageHeight();
    } catch (...) {
        result.loadError = std::current_exception();
        return result;
    }
    try {
        maker.save(job.outputPath, box.quality);
        result.preview = maker.picture();
    } catch (...) {
        result.saveError = std::current_exception();
    }
    return result;
}

}  // namespace tessaly
