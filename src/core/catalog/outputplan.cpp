#include "core/catalog/outputplan.h"

#include "core/imaging/jobs/webcopy.h"
#include "core/pages/photooutputnames.h"

namespace tessaly {

const PlacedFile& PlannedPhoto::linkTarget(bool viaWebCopy) const {
    if (viaWebCopy && !webCopy.path.isEmpty()) return webCopy;
    return browserCopy.path.isEmpty() ? photo : browserCopy;
}

OutputPlan::OutputPlan(const CatalogSettings& settings, const QString& folder,
                       const QStringList& names, const std::vector<bool>& selected, bool allFormats,
                       bool doubles)
    : layout_(settings, folder), webCopies_(settings.isOn(&CatalogSettings::webCopies)) {
    // With web copies, every photograph is linked through its own copy in the web folder.
    const PhotoOutputNames outputs =
        allFormats ? photoOutputNames(names, webCopies_) : PhotoOutputNames();
    for (int i = 0; i < names.size() && i < int(selected.size()); ++i) {
        if (!selected[static_cast<std::size_t>(i)]) continue;
        PlannedPhoto planned;
        planned.index = i;
        planned.name = names[i];
        planned.photo = layout_.photo(names[i]);
        const QString thumbnail = allFormats ? outputs.thumbnails[i] : names[i];
        planned.thumbnail = layout_.thumbnail(thumbnail);
        planned.thumbnailFileName = layout_.thumbnailFileName(thumbnail);
        if (doubles) planned.doubleThumbnail = layout_.doubleThumbnail(thumbnail);
        if (allFormats && !outputs.copies[i].isEmpty())
            planned.browserCopy = layout_.thumbnail(outputs.copies[i]);
        if (allFormats) planned.shortName = photoShortName(names[i]);
        if (webCopies_) {
            planned.webCopyName = allFormats ? outputs.webCopies[i] : WebCopy::copyName(names[i]);
            planned.webCopy = layout_.webCopy(planned.webCopyName);
        }
        photos_.push_back(std::move(planned));
    }
}

}  // namespace tessaly
