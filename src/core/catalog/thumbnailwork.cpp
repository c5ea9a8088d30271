#include "core/catalog/thumbnailwork.h"

#include <QFileInfo>
#include <optional>

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

namespace {

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

}  // namespace

ThumbnailResult makeThumbnail(const ThumbnailJob& job, const ThumbnailBox& box, bool skipExisting,
                              DecodeBudget* budget, ThumbnailMaker::Decoding decoding,
                              bool allFormats) {
    ThumbnailResult result;
    ThumbnailMaker maker(decoding, allFormats);
    try {
        maker.open(job.sourcePath);
        result.imageWidth = maker.imageWidth();
        result.imageHeight = maker.imageHeight();
    } catch (...) {
        result.loadError = std::current_exception();
        return result;
    }
    const bool copy = !job.copyPath.isEmpty() && maker.otherFormat();
    const bool twice = !job.doublePath.isEmpty();
    if (skipExisting && thumbnailUpToDate(job.thumbPath, job.sourcePath) &&
        (!copy || thumbnailUpToDate(job.copyPath, job.sourcePath)) &&
        (!twice || thumbnailUpToDate(job.doublePath, job.sourcePath))) {
        result.skipped = true;
        return result;
    }
    std::optional<DecodeBudget::Admission> admission;
    try {
        const qint64 bytes =
            maker.scaleBytes(box) + (twice ? maker.scaleBytes(doubledBox(box)) : 0);
        admission.emplace(budget, bytes);
        if (!*admission) throw ImageError(QStringLiteral("the run was stopped"));
    } catch (...) {
        result.loadError = std::current_exception();
        return result;
    }
    if (copy) {
        // The copy is written from the whole picture before the thumbnail replaces it.
        try {
            maker.decodeWhole();
        } catch (...) {
            result.loadError = std::current_exception();
            return result;
        }
        try {
            maker.saveCopy(job.copyPath, kBrowserCopyQuality);
        } catch (...) {
            result.saveError = std::current_exception();
            return result;
        }
    }
    scaleAndSave(maker, job, box, result);
    return result;
}

}  // namespace tessaly
