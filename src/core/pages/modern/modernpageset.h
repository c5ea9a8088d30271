#pragma once

#include "core/pages/modern/modernpagewriter.h"
#include "core/pages/pageset.h"

namespace tessaly {

// The modern page with its style sheet and script beside the thumbnails, which show their
// double-size versions on high-density screens; the slide show runs inside the page.
class ModernPageSet : public PageSet {
public:
    ModernPageSet(const CatalogSettings& settings, const PageFiles& files);

    const PageFiles& files() const override { return files_; }
    bool needsDoubles() const override { return true; }
    void start(const PageSetStart& start) override;
    void add(int n, const CatalogEntry& entry, bool commentsOn) override;
    void finish(const PageSetEnd& end) override;
    void publish() override;
    void close() noexcept override;

private:
    PageFiles files_;
    ModernPageWriter page_;
    QString firstThumbnail_;
};

}  // namespace tessaly
