#include "core/pages/modern/modernpageset.h"

namespace tessaly {

ModernPageSet::ModernPageSet(const CatalogSettings& settings, const PageFiles& files)
    : files_(files), page_(settings, files) {}

void ModernPageSet::start(const PageSetStart& start) {
    page_.start(start.title, start.perRow, start.date);
}

void ModernPageSet::add(int n, const CatalogEntry& entry, bool commentsOn) {
    (void)n;
    page_.addImage(entry, commentsOn);
}

// The page is written whole when it is put in place.
void ModernPageSet::finish(const PageSetEnd& end) { firstThumbnail_ = end.firstThumbnail; }

void ModernPageSet::publish() { page_.finish(firstThumbnail_); }

void ModernPageSet::close() noexcept { page_.close(); }

}  // namespace tessaly
