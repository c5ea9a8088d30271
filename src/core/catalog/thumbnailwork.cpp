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

namespace {

// Scales the open photograph and saves the thumbnail,
// keeping failures in the result.
void scaleAndSave(ThumbnailMaker& maker, const ThumbnailJob& job, const ThumbnailBox& box,
                  ThumbnailResult& result) {
    try {
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
    if (skipExisting && thumbnailUpToDate(job.thumbPath, job.sourcePath) &&
        (!copy || thumbnailUpToDate(job.copyPath, job.sourcePath))) {
        result.skipped = true;
        return result;
    }
    std::optional<DecodeBudget::Admission> admission;
    try {
        admission.emplace(budget, maker.scaleBytes(box));
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
