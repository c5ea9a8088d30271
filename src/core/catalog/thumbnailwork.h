#pragma once

#include <QString>
#include <QStringList>
#include <exception>

#include "core/imaging/thumbnailmaker.h"
#include "core/imaging/tnkdib.h"

namespace tessaly {

// One image of a run as handed to whoever makes its thumbnail.
struct ThumbnailJob {
    QString sourcePath;  // the photograph
    QString thumbPath;   // where the thumbnail belongs
    QString outputPath;  // where it is written (thumbPath, or a scratch file moved later)
};

// What making one thumbnail gave. The decoded photograph is gone by then; only the
// thumbnail (the preview) is kept.
struct ThumbnailResult {
    int imageWidth = 0;
    int imageHeight = 0;
    bool skipped = false;          // skipExistingThumbs and the thumbnail was there
    QStringList statusTexts;       // the scaling method shown while it was made
    TNkDIB preview;                // the thumbnail, when one was made
    std::exception_ptr loadError;  // the photograph could not be read or decoded
    std::exception_ptr saveError;  // the thumbnail could not be made or saved
};

// Decodes the photograph, measures it and, unless skipExisting finds the thumbnail, makes and
// saves the thumbnail at job.outputPath. Never throws: failures are kept in the result.
ThumbnailResult makeThumbnail(const ThumbnailJob& job, const ThumbnailBox& box, bool skipExisting);

}  // namespace tessaly
