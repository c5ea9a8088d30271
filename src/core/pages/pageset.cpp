#include "core/pages/pageset.h"

#include "core/pages/classic/classicpageset.h"
#include "core/pages/modern/modernpageset.h"

namespace tessaly {

std::unique_ptr<PageSet> PageSet::make(const CatalogSettings& settings,
                                       const OutputLayout& layout) {
    const bool modern = settings.modernPages();
    PageFiles files = layout.pageFiles(modern, settings.isOn(&CatalogSettings::makeSlideShow));
    // A published site offers its web copies in one zip when asked to.
    if (!settings.publishFolder.isEmpty() && settings.isOn(&CatalogSettings::publishZip))
        files.download = layout.photoArchive();
    if (modern) return std::make_unique<ModernPageSet>(settings, files);
    return std::make_unique<ClassicPageSet>(settings, files);
}

}  // namespace tessaly
