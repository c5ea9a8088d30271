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

// The web copy of a JPEG photograph, from the file the thumbnail read when it kept it.
void makeWebCopy(const ThumbnailJob& job, const ThumbnailMaker& maker, ThumbnailResult& result) {
    try {
        QByteArray file = maker.wholeFile();
        if (file.isEmpty()) file = JpegImage::readFile(job.sourcePath);
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
            maker.saveCopy(job.copyOutputPath.isEmpty() ? job.copyPath : job.copyOutputPath,
                           kBrowserCopyQuality);
            result.copyMade = true;
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

// What is made of one photograph, settled from its header before anything is decoded.
struct ItemPlan {
    bool copy = false;           // another format's JPEG copy
    bool wholeWebCopy = false;   // another format's web copy, from its whole decode
    bool fileCopyAsked = false;  // a JPEG's web copy is asked for
    bool fileWebCopy = false;    // and made now, from its file
    bool twice = false;          // the double thumbnail
};

// Opens the photograph and settles what is made of it (result.skipped: no thumbnail). False
// when it cannot be read; the failure is in the result.
bool openItem(const ThumbnailJob& job, bool skipExisting, ThumbnailMaker& maker, ItemPlan& plan,
              ThumbnailResult& result) {
    try {
        maker.open(job.sourcePath);
        result.imageWidth = maker.imageWidth();
        result.imageHeight = maker.imageHeight();
    } catch (...) {
        result.loadError = std::current_exception();
        return false;
    }
    const bool webCopyAsked = !job.webCopyPath.isEmpty();
    const bool webCopyDue =
        webCopyAsked && !WebCopy::upToDate(job.webCopyPath, job.sourcePath, job.webCopyPolicyKept);
    plan.copy = !job.copyPath.isEmpty() && maker.otherFormat();
    // Another format's web copy comes from the whole decode its thumbnail is made from.
    result.webCopy = webCopyAsked && maker.otherFormat();
    plan.wholeWebCopy = webCopyDue && maker.otherFormat();
    plan.fileCopyAsked = webCopyAsked && !maker.otherFormat();
    plan.fileWebCopy = webCopyDue && !maker.otherFormat();
    if (job.checkPosition && !plan.copy) {  // the page links the photograph itself
        result.position =
            maker.otherFormat()
                ? PrivacyFilter::find(maker.reader()->exif(), maker.reader()->xmp()).position
                : carriesPosition(maker.fileStart());
    }
    plan.twice = !job.doublePath.isEmpty();
    result.skipped = skipExisting && !plan.wholeWebCopy &&
                     thumbnailUpToDate(job.thumbPath, job.sourcePath) &&
                     (!plan.copy || thumbnailUpToDate(job.copyPath, job.sourcePath)) &&
                     (!plan.twice || thumbnailUpToDate(job.doublePath, job.sourcePath));
    return true;
}

// The memory all that the plan makes holds at most, about: the thumbnails' decode (the whole
// picture's for another format's copies), and the JPEG web copy's, which comes after it.
qint64 itemBytes(const ThumbnailJob& job, const ThumbnailBox& box, const ThumbnailMaker& maker,
                 const ItemPlan& plan, const ThumbnailResult& result) {
    qint64 bytes = 0;
    if (!result.skipped) {
        bytes = plan.twice ? maker.scaleTwiceBytes(box, doubledBox(box)) : maker.scaleBytes(box);
        if (plan.copy || plan.wholeWebCopy) bytes = std::max(bytes, maker.wholeDecodeBytes());
        if (plan.wholeWebCopy) {
            bytes += WebCopy::pictureCopyBytes(result.imageWidth, result.imageHeight,
                                               job.webCopyPolicy.longSide);
        }
    }
    if (plan.fileWebCopy) {
        int w = 0, h = 0;
        WebCopy::copySize(result.imageWidth, result.imageHeight, job.webCopyPolicy.longSide, w, h);
        bytes = std::max(bytes, maker.fileBytes() + qint64(w) * h * 12);
    }
    return bytes;
}

// The thumbnails of the open photograph, and what comes from its whole decode.
void makeThumbnails(const ThumbnailJob& job, const ThumbnailBox& box, ThumbnailMaker& maker,
                    const ItemPlan& plan, ThumbnailResult& result) {
    if ((plan.copy || plan.wholeWebCopy) &&
        !fromWholePicture(maker, job, plan.copy, plan.wholeWebCopy, result)) {
        return;
    }
    scaleAndSave(maker, job, box, result);
}

}  // namespace

ThumbnailResult makeThumbnail(const ThumbnailJob& job, const ThumbnailBox& box, bool skipExisting,
                              DecodeBudget* budget, ThumbnailMaker::Decoding decoding,
                              bool allFormats) {
    ThumbnailResult result;
    ThumbnailMaker maker(decoding, allFormats);
    maker.keepWholeFile(!job.webCopyPath.isEmpty());
    ItemPlan plan;
    if (!openItem(job, skipExisting, maker, plan, result)) return result;
    // One admission for everything made of the photograph: a second one, asked for while
    // this one is held, could wait for ever.
    std::optional<DecodeBudget::Admission> admission;
    if (!result.skipped || plan.fileWebCopy) {  // else nothing is decoded
        try {
            admission.emplace(budget, itemBytes(job, box, maker, plan, result));
            if (!*admission) throw ImageError(QStringLiteral("the run was stopped"));
        } catch (...) {
            result.webCopy = result.webCopy || result.skipped;
            (result.skipped ? result.webCopyError : result.loadError) = std::current_exception();
            return result;
        }
    }
    if (!result.skipped) makeThumbnails(job, box, maker, plan, result);
    if (plan.fileCopyAsked && !result.loadError && !result.saveError) {
        result.webCopy = true;
        if (plan.fileWebCopy) makeWebCopy(job, maker, result);
    }
    return result;
}

}  // namespace tessaly
