#include "core/pages/classic/classicpageset.h"

#include "core/text/errors.h"

namespace tessaly {

ClassicPageSet::ClassicPageSet(const CatalogSettings& settings, const PageFiles& files)
    : files_(files), page_(settings, files), slides_(settings) {}

void ClassicPageSet::start(const PageSetStart& start) {
    QString writing = files_.page.path;
    try {
        page_.writeHead(writing, start.title, start.perRow, start.count, start.firstThumbnail,
                        start.date);
        page_.writeBodyStart();
        writing = files_.slideShowPage.path;
        if (slideShow()) slides_.writeHead(writing, start.title, start.count);
    } catch (const Error&) {
        throw PageStartFailure{writing};
    }
}

void ClassicPageSet::add(int n, const CatalogEntry& entry, bool commentsOn) {
    page_.writeImage(n, entry, commentsOn);
    if (slideShow()) slides_.writeImage(n, entry);
}

void ClassicPageSet::finish(const PageSetEnd& end) {
    page_.writeTail(end.commentsOn);
    if (slideShow()) slides_.writeTail(end.count, end.largestWidth, end.largestHeight);
    if (end.restatedCount >= 0) page_.restateImages(end.restatedCount, end.firstThumbnail);
}

// The slide show first, so that a failure on the way leaves the earlier catalogue page.
void ClassicPageSet::publish() {
    if (slideShow()) slides_.publish();
    page_.publish();
}

void ClassicPageSet::close() noexcept {
    page_.close();
    slides_.close();
}

}  // namespace tessaly
