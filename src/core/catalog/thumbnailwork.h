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
    QString sourcePath;  // the photograph
    QString thumbPath;   // where the thumbnail belongs
    QString outputPath;  // where it is written (thumbPath, or a scratch file moved later)
    // Where a JPEG copy of a photograph browsers cannot show is kept; empty: none is made.
    QString copyPath = QString();
    // Where that copy is written when it is new (a work file moved to copyPath later).
    QString copyOutputPath = QString();
    // The thumbnail at twice the box for high-density screens, made from the same decode;
    // none when empty. Written at doubleOutputPath as the other is at outputPath.
    QString doublePath{};
    QString doubleOutputPath{};
    // The photograph's web copy: where it belongs, empty when none is
    // made; where a new one is written (a scratch file moved later).
    QString webCopyPath = QString();
    QString webCopyOutput = QString();
    bool webCopyPolicyKept = false;  // the copies there were made under webCopyPolicy
    WebCopyPolicy webCopyPolicy = {};
    bool checkPosition = false;  // tell whether the photograph carries a GPS position
};

// The compression quality of such copies: they stand in for the photograph.
inline constexpr int kBrowserCopyQuality = 92;

// What making one thumbnail gave. The decoded photograph is gone by then; only the
// thumbnail (the preview) is kept.
struct ThumbnailResult {
    int imageWidth = 0;
    int imageHeight = 0;
    bool skipped = false;  // skipExistingThumbs and the thumbnail was there
    ThumbnailMaker::Method method = ThumbnailMaker::Method::Plain;  // how it was made
    PixelImage preview;               // the thumbnail, when one was made
    std::exception_ptr loadError;     // the photograph could not be read or decoded
    std::exception_ptr saveError;     // the thumbnail could not be made or saved
    bool copyMade = false;            // a new JPEG copy is at job.copyOutputPath
    bool webCopy = false;             // the photograph has a web copy (kept or made now)
    bool webCopyMade = false;         // a new web copy is at job.webCopyOutput
    std::exception_ptr webCopyError;  // the web copy could not be made or saved
    bool position = false;            // job.checkPosition and the photograph carries a GPS position
};

// True when the thumbnail exists and is not older than the photograph.
bool thumbnailUpToDate(const QString& thumbPath, const QString& sourcePath);

// The box twice as wide and high, at the same quality and filter.
ThumbnailBox doubledBox(const ThumbnailBox& box);

// Measures the photograph from its header and, unless skipExisting finds its thumbnail (and
// its copy and the double one, when they are asked for) up to date (then nothing is decoded),
// decodes it, makes the thumbnail and saves it at job.outputPath (the double one at twice the
// box, at job.doubleOutputPath), and the copy at job.copyPath. allFormats reads photographs of
// every format (ThumbnailMaker). With a webCopyPath, a web copy that is not up to date is made
// from the same read of the file (another format's from the same whole decode) and saved at
// job.webCopyOutput. A
// thumbnail older than its photograph is made again. When a budget is given, the photograph
// waits for one admission, for all that is made of it, reckoned from its header. Never throws:
// failures are kept in the result.
ThumbnailResult makeThumbnail(
    const ThumbnailJob& job, const ThumbnailBox& box, bool skipExisting,
    DecodeBudget* budget = nullptr,
    ThumbnailMaker::Decoding decoding = ThumbnailMaker::Decoding::Streamed,
    bool allFormats = false);

}  // namespace tessaly
