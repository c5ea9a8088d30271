#include "core/pages/pageset.h"

#include "core/pages/classic/classicpageset.h"
#include "core/pages/modern/modernpageset.h"

namespace tessaly {

std::unique_ptr<PageSet> PageSet::make(const CatalogSettings& settings,
                                       const OutputLayout& layout) {
    const bool modern = settings.modernPages();
    const PageFiles files =
        layout.pageFiles(modern, settings.isOn(&CatalogSettings::makeSlideShow));
    if (modern) return std::make_unique<ModernPageSet>(settings, files);
    return std::make_unique<ClassicPageSet>(settings, files);
}

}  // namespace tessaly
