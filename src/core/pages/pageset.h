#pragma once

#include <QDate>
#include <QString>
#include <memory>

#include "core/pages/catalogentry.h"
#include "core/pages/outputlayout.h"
#include "core/settings/catalogsettings.h"

namespace tessaly {

// How a run starts its pages.
struct PageSetStart {
    QString title;  // markup as typed (or a name already made page text)
    int perRow = 5;
    QDate date;
    int count = 0;           // the photographs selected
    QString firstThumbnail;  // the first one's thumbnail file name
};

// How a run ends them, once the last entry is in.
struct PageSetEnd {
    int count = 0;  // the entries added
    // When photographs were left out: the image count the page's head states instead of the
    // one given at the start (-1: none left out).
    int restatedCount = -1;
    QString firstThumbnail;  // the first entry's thumbnail file name
    int largestWidth = 0;    // the largest image sizes, for the slide show window
    int largestHeight = 0;
    bool commentsOn = false;  // the comment switch after the last entry
};

// A page file the set could not start, named by its path.
struct PageStartFailure {
    QString path;
};

// The pages of a catalogue run in one style: started, one entry per photograph, ended, then
// put in place together (each through a temporary file, so that until then the earlier pages
// stay as they were), or closed without a trace.
class PageSet {
public:
    virtual ~PageSet() = default;

    // The set the settings ask for, its files where the layout puts them.
    static std::unique_ptr<PageSet> make(const CatalogSettings& settings,
                                         const OutputLayout& layout);

    // The pages, style files and background it writes or shows.
    virtual const PageFiles& files() const = 0;
    // Whether its entries need double-size thumbnails.
    virtual bool needsDoubles() const = 0;

    // Raises PageStartFailure.
    virtual void start(const PageSetStart& start) = 0;
    // Entry number n (from 1); commentsOn is the comment switch sampled after it.
    virtual void add(int n, const CatalogEntry& entry, bool commentsOn) = 0;
    // Ends the pages; nothing is in place yet. Raises IoError.
    virtual void finish(const PageSetEnd& end) = 0;
    // Puts the ended pages in place, the main page last. Raises IoError / CreateError.
    virtual void publish() = 0;
    // Drops whatever is open or gathered (failure paths): the earlier pages stay.
    virtual void close() noexcept = 0;
};

}  // namespace tessaly
