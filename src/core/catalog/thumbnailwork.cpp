#include "core/catalog/thumbnailwork.h"

#include <QFileInfo>

namespace tessaly {

ThumbnailResult makeThumbnail(const ThumbnailJob& job, const ThumbnailBox& box, bool skipExisting) {
    ThumbnailResult result;
    ThumbnailMaker maker;
    try {
        maker.load(job.sourcePath);
        result.imageWidth = maker.imageWidth();
        result.imageHeight = maker.imageHeight();
    } catch (...) {
        result.loadError = std::current_exception();
        return result;
    }
    if (skipExisting && QFileInfo::exists(job.thumbPath)) {
        result.skipped = true;
        return result;
    }
    try {
        maker.make(box, job.outputPath,
                   [&result](const QString& text) { result.statusTexts << text; });
        result.preview = maker.picture();
    } catch (...) {
        result.saveError = std::current_exception();
    }
    return result;
}

}  // namespace tessaly
