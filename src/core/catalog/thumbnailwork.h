#pragma once

#include <QString>
#include <exception>

#include "core/imaging/jobs/webcopy.h"
#include "core/imaging/pixels/pixelimage.h"
#include "core/imaging/thumbnailmaker.h"

namespace tessaly {

class DecodeBudget;

// One image of a run as handed to whoever makes its thumbnail.
struct ThumbnailJob {
    QString sourcePath;       // the photograph
    QString thumbPath;        // where the thumbnail belongs
    QString outputPath;       // where it is written (thumbPath, or a scratch file moved later)
    QString copyPath = {};    // where the photograph's web copy belongs; empty when none is made
    QString copyOutput = {};  // where a new copy is written (a scratch file moved later)
    bool copyPolicyKept = false;  // the copies there were made under copyPolicy
    WebCopyPolicy copyPolicy = {};
    bool checkPosition = false;  // tell whether the photograph carries a GPS position
};

// What making one thumbnail gave. The decoded photograph is gone by then; only the
// thumbnail (the preview) is kept.
struct ThumbnailResult {
    int imageWidth = 0;
    int imageHeight = 0;
    bool skipped = false;  // skipExistingThumbs and the thumbnail was there
    ThumbnailMaker::Method method = ThumbnailMaker::Method::Plain;  // how it was made
    PixelImage preview;            // the thumbnail, when one was made
    std::exception_ptr loadError;  // the photograph could not be read or decoded
    std::exception_ptr saveError;  // the thumbnail could not be made or saved
    bool copyMade = false;         // a new web copy is at job.copyOutput
    std::exception_ptr copyError;  // the web copy could not be made or saved
    bool position = false;         // job.checkPosition and the photograph carries a GPS position
};

// True when the thumbnail exists and is not older than the photograph.
bool thumbnailUpToDate(const QString& thumbPath, const QString& sourcePath);

// Measures the photograph from its header and, unless skipExisting finds its thumbnail up to
// date (then nothing is decoded), decodes it, makes the thumbnail and saves it at
// job.outputPath. With a copyPath, a web copy that is not up to date is made from the same
// read of the file and saved at job.copyOutput. A thumbnail older than its photograph is made
// again. The decode waits for its admission by the budget when one is given. Never throws: failures
// are kept in the result.
ThumbnailResult makeThumbnail(
    const ThumbnailJob& job, const ThumbnailBox& box, bool skipExisting,
    DecodeBudget* budget = nullptr,
    ThumbnailMaker::Decoding decoding = ThumbnailMaker::Decoding::Streamed);

}  // namespace tessaly
