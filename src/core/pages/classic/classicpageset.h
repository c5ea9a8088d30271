#pragma once

#include "core/pages/classic/catalogpagewriter.h"
#include "core/pages/classic/slideshowwriter.h"
#include "core/pages/pageset.h"

namespace tessaly {

// The classic pages: the catalogue page (Shift-JIS, a table of thumbnails) and, when the
// slide show is on, its slide show page.
class ClassicPageSet : public PageSet {
public:
    ClassicPageSet(const CatalogSettings& settings, const PageFiles& files);

    const PageFiles& files() const override { return files_; }
    bool needsDoubles() const override { return false; }
    void start(const PageSetStart& start) override;
    void add(int n, const CatalogEntry& entry, bool commentsOn) override;
    void finish(const PageSetEnd& end) override;
    void publish() override;
    void close() noexcept override;

private:
    bool slideShow() const { return !files_.slideShowPage.path.isEmpty(); }

    PageFiles files_;
    CatalogPageWriter page_;
    SlideShowWriter slides_;
};

}  // namespace tessaly
